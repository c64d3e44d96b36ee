// Status codes of the frame renderer family (FACILITY_ITF, severity error). The movie
// header reader returns three of them; the renderer returns them unchanged.
#pragma once

#include <cstdint>

constexpr int32_t rendererStatus(uint32_t code) { return static_cast<int32_t>(code); }

constexpr int32_t RENDERER_E_CONTROL_MISSING = rendererStatus(0x800403E8u);
constexpr int32_t RENDERER_E_CONTROL_VERSION = rendererStatus(0x800403E9u);
constexpr int32_t RENDERER_E_OUT_OF_MEMORY = rendererStatus(0x800403EAu);
constexpr int32_t RENDERER_E_NO_WINDOW = rendererStatus(0x800403EBu);
constexpr int32_t RENDERER_E_CACHE = rendererStatus(0x800403ECu);
// The (cached) movie file cannot be opened.
constexpr int32_t RENDERER_E_MOVIE_OPEN = rendererStatus(0x800403EDu);
// Not a single byte can be read from the movie file.
constexpr int32_t RENDERER_E_MOVIE_EMPTY = rendererStatus(0x800403EEu);
// Not a valid uncompressed SWF movie, or it cannot be expanded.
constexpr int32_t RENDERER_E_MOVIE_INVALID = rendererStatus(0x800403EFu);
constexpr int32_t RENDERER_E_BAD_FRAME = rendererStatus(0x800403F0u);
constexpr int32_t RENDERER_E_CACHE_DIR = rendererStatus(0x800403F1u);
