// Bitmaps drawn at less than half their size are read, as the real player
// reads them above low quality, from copies reduced by halves, each pixel
// the mean of four: a texture shrunk far keeps its average colour instead
// of the few pixels a sample happens to hit. The copies are kept from frame
// to frame for as long as their bitmap lives.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "../format/matrix.h"
#include "../images/decoded_image.h"

namespace swf {

class ReducedBitmaps {
 public:
  // The copy of image to read for pixelsToBitmap (canvas pixels to bitmap
  // pixels), which is changed to reach into that copy; image itself when
  // it is not shrunk to half or less.
  const DecodedImage& levelFor(const std::shared_ptr<const DecodedImage>& image, Matrix& pixelsToBitmap);

 private:
  struct Levels {
    std::weak_ptr<const DecodedImage> source;
    std::vector<std::unique_ptr<DecodedImage>> halves;  // halves[i]: reduced i + 1 times
  };
  static std::unique_ptr<DecodedImage> halved(const DecodedImage& image);

  std::unordered_map<const DecodedImage*, Levels> levels_;
};

}  // namespace swf
