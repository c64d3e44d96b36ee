// libFuzzer target: any bytes as the bodies of sound tags, fed through the library
// and the mixer as a movie would feed them, with a render after each.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "adpcm_decoder.h"
#include "sound_library.h"
#include "sound_mixer.h"

// The input is a run of records: one byte of kind, one of length, then the body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  swf::SoundLibrary library;
  swf::SoundMixer mixer;
  std::vector<int16_t> out(2 * 1024);
  size_t pos = 0;
  while (pos + 2 <= size) {
    const uint8_t kind = data[pos];
    const size_t length = std::min<size_t>(data[pos + 1] * 8u, size - pos - 2);
    // An exact copy, so that any read past the body is caught.
    const std::vector<uint8_t> body(data + pos + 2, data + pos + 2 + length);
    pos += 2 + length;
    switch (kind % 6) {
      case 0: library.define(body.data(), body.size()); break;
      case 1: mixer.startSound(library, body.data(), body.size()); break;
      case 2: mixer.streamHead(kind >> 4, body.data(), body.size()); break;
      case 3: mixer.streamBlock(kind >> 4, body.data(), body.size()); break;
      case 4: mixer.endStream(kind >> 4); break;
      default: {
        std::vector<int16_t> decoded;
        swf::decodeAdpcm(body.data(), body.size(), 1 + (kind >> 7), 0, decoded);
      }
    }
    mixer.render(out.data(), 1 + (kind * 7) % 1024);
  }
  return 0;
}
