// Damaged and random sound tags: every parser and decoder stays inside its input.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "adpcm_decoder.h"
#include "sound_bodies.h"
#include "sound_library.h"
#include "sound_mixer.h"

namespace {

std::vector<uint8_t> randomBytes(std::mt19937& random, size_t maxSize) {
  std::vector<uint8_t> bytes(random() % (maxSize + 1));
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

TEST(HostileSound, RandomBodiesInEveryEntryPoint) {
  std::mt19937 random(1234);
  swf::SoundLibrary library;
  swf::SoundMixer mixer;
  std::vector<int16_t> out(2 * 512);
  for (int round = 0; round < 3000; ++round) {
    const std::vector<uint8_t> body = randomBytes(random, 64);
    // Exact copies: nothing may read past what was handed over.
    const std::vector<uint8_t> exact(body);
    switch (round % 5) {
      case 0: library.define(exact.data(), exact.size()); break;
      case 1: mixer.startSound(library, exact.data(), exact.size()); break;
      case 2: mixer.streamHead(round % 3, exact.data(), exact.size()); break;
      case 3: mixer.streamBlock(round % 3, exact.data(), exact.size()); break;
      default: {
        std::vector<int16_t> decoded;
        swf::decodeAdpcm(exact.data(), exact.size(), 1 + round % 2, 0, decoded);
        EXPECT_LE(decoded.size(), exact.size() * 8 / 2 + 2);
      }
    }
    mixer.render(out.data(), 512);
  }
  mixer.stopAll();
  EXPECT_TRUE(mixer.silent());
}

TEST(HostileSound, HugeCountsInATinyDefineSoundDecodeOnlyWhatIsThere) {
  soundtest::Bytes body = soundtest::defineSoundBody(1, {5, 6, 7}, false, 0);
  body[3] = body[4] = body[5] = body[6] = 0xFF;  // 4294967295 samples claimed
  swf::SoundLibrary library;
  ASSERT_TRUE(library.define(body.data(), body.size()));
  EXPECT_EQ(3u * 8, library.find(1)->frames());
}

TEST(HostileSound, AStartSoundWithManyLoopsOfAShortSoundEnds) {
  swf::SoundLibrary library;
  const soundtest::Bytes sound = soundtest::defineSoundBody(1, {1000});
  library.define(sound.data(), sound.size());
  swf::SoundInfo info;
  info.loopCount = 65535;
  swf::SoundMixer mixer;
  mixer.startSound(library.find(1), info);
  std::vector<int16_t> out(2 * 70000);
  mixer.render(out.data(), 70000);
  EXPECT_EQ(1000, out[2 * 65534]);
  EXPECT_EQ(0, out[2 * 65535]);
  EXPECT_TRUE(mixer.silent());
}

}  // namespace
