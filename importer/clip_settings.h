// Per-clip state: the settings record the editor stores with each clip in its
// project, and the private block that holds the clip's renderer.
#pragma once

#include <cstdint>

#include "frame_renderer.h"

#pragma pack(push, 1)
struct ClipSettings {
  int32_t maxLength;  // frames; -1: not set yet
  int32_t sequenceMode;
  int32_t keepAspectRatio;
};
#pragma pack(pop)
static_assert(sizeof(ClipSettings) == 12, "ClipSettings is the editor's 12-byte record");

constexpr ClipSettings kDefaultClipSettings = {-1, kSequenceFrameByFrame, 0};
constexpr int32_t kMinClipLength = 1;
constexpr int32_t kMaxClipLength = 8000000;

// Allocated through the host's memory callback; the only state of a clip.
struct ClipPrivateData {
  IFrameRenderer* renderer;
};
static_assert(sizeof(ClipPrivateData) == 4, "a 4-byte block");

inline bool isValidClipLength(uint32_t length) {
  return length >= uint32_t(kMinClipLength) && length <= uint32_t(kMaxClipLength);
}
