// Reading back what the recorder wrote, and the PCM formats the tests record in.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <string>
#include <vector>

namespace audiotest {

// The 16-bit samples of a WAV file's data chunk (channels interleaved); empty when it cannot be read.
std::vector<int16_t> wavSamples(const std::string& path);

// A PCM format with its block align and byte rate worked out.
WAVEFORMATEX pcmFormat(WORD channels, DWORD rate, WORD bits);

}  // namespace audiotest
