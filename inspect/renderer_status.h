// Status codes of the frame renderer family (FACILITY_ITF, severity error). The movie
// header reader returns three of them; the renderer returns them unchanged.
#pragma once

#include <cstdint>

constexpr int32_t rendererStatus(uint32_t code) { return static_cast<int32_t>(code); }

constexpr int32_t kRendererEControlMissing = rendererStatus(0x800403E8u);
constexpr int32_t kRendererEControlVersion = rendererStatus(0x800403E9u);
constexpr int32_t kRendererEOutOfMemory = rendererStatus(0x800403EAu);
constexpr int32_t kRendererENoWindow = rendererStatus(0x800403EBu);
constexpr int32_t kRendererECache = rendererStatus(0x800403ECu);
// The (cached) movie file cannot be opened.
constexpr int32_t kRendererEMovieOpen = rendererStatus(0x800403EDu);
// Not a single byte can be read from the movie file.
constexpr int32_t kRendererEMovieEmpty = rendererStatus(0x800403EEu);
// Not a valid uncompressed SWF movie, or it cannot be expanded.
constexpr int32_t kRendererEMovieInvalid = rendererStatus(0x800403EFu);
constexpr int32_t kRendererEBadFrame = rendererStatus(0x800403F0u);
constexpr int32_t kRendererECacheDir = rendererStatus(0x800403F1u);
