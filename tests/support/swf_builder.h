// Builds SWF movies in memory for tests: a header (any stage RECT, frame rate, frame
// count, version), the main timeline's tags (TagStream), an End tag unless left out,
// bytes after the End tag, and plain (FWS) or zlib (CWS) output.
//
//   SwfBuilder b;
//   b.stage(0, 0, 11000, 8000).frameRate(12.0).background(255, 255, 255);
//   b.defineRectShape(1, Rect::twips(0, 0, 2000, 2000), Rgba{255, 0, 0});
//   b.placeObject2(1, 1, Matrix::translate(100, 100));
//   b.showFrame();
//   Bytes movie = b.finish(Compression::Zlib);
#pragma once

#include "tag_stream.h"

namespace mvqtest {

enum class Compression { None, Zlib };

class SwfBuilder : public TagWriter<SwfBuilder> {
 public:
  SwfBuilder& version(uint8_t version);
  // Stage bounds in twips; nbits as in Rect.
  SwfBuilder& stage(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax, int nbits = -1);
  SwfBuilder& stage(const Rect& rect);
  SwfBuilder& frameRate(double fps);  // stored as 8.8 fixed point
  SwfBuilder& frameRateRaw(uint16_t fixed88);
  // Default: the number of ShowFrame tags of the main timeline.
  SwfBuilder& frameCount(uint16_t count);
  // Default: the length of the whole uncompressed file.
  SwfBuilder& fileLength(uint32_t length);
  // No End tag is added by finish() (end() still writes one).
  SwfBuilder& withoutEnd();
  SwfBuilder& afterEnd(const Bytes& trailing);

  // The header bytes 0 to 12 + n, uncompressed, as finish() would write them.
  Bytes header() const;
  // level: zlib compression level for Compression::Zlib.
  Bytes finish(Compression compression = Compression::None, int level = 6) const;

 private:
  uint8_t version_ = 6;
  Rect stage_ = Rect::pixels(550, 400);
  uint16_t frameRate_ = 12 << 8;
  std::optional<uint16_t> frameCount_;
  std::optional<uint32_t> fileLength_;
  bool addEnd_ = true;
  Bytes trailing_;

  Bytes headerFields() const;  // RECT, frame rate, frame count
  bool endAdded() const;
  uint32_t totalLength() const;
  Bytes prefix(bool compressed) const;
};

}  // namespace mvqtest
