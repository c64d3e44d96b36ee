// The "fmt " chunk of a WAVE file turned into the bytes of a WAVEFORMATEX: its 18
// bytes (cbSize last) and then cbSize extra bytes. Plain C++ with no system
// headers, so that it also builds natively under the sanitizers and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// WAVEFORMATEX up to and with cbSize.
constexpr size_t kWavFormatHeadBytes = 18;
// The most of a "fmt " chunk that a format can use: the head and 65535 extra bytes.
constexpr size_t kWavFormatChunkMostUsed = kWavFormatHeadBytes + 0xFFFF;

// chunk holds the chunk's first size bytes. PCM keeps its first 16 bytes with a
// cbSize of 0; other tags keep cbSize and as many extra bytes. A chunk of fewer than
// 18 bytes has no cbSize: 0 then. False when the chunk is shorter than 16 bytes or
// ends before the extra bytes do.
bool readWavFormatChunk(const uint8_t* chunk, size_t size, std::vector<uint8_t>& format);
