// Device fonts read from TrueType files (the Liberation families, metric
// twins of Arial, Times New Roman and Courier New) in one folder.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>

#include "glyph_outline_source.h"

namespace swf {

class TrueTypeGlyphSource : public GlyphOutlineSource {
 public:
  explicit TrueTypeGlyphSource(std::string folder);
  ~TrueTypeGlyphSource() override;

  bool metrics(const DeviceFace& face, DeviceMetrics& out) override;
  DeviceGlyph glyph(const DeviceFace& face, char32_t c) override;

 private:
  class Face;
  // Loaded on first use; nullptr when its file is missing or unreadable.
  Face* face(const DeviceFace& key);

  std::string folder_;
  std::mutex mutex_;
  std::array<std::unique_ptr<Face>, 12> faces_;
  std::array<bool, 12> tried_{};
};

}  // namespace swf
