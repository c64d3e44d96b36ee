// A sequence of SWF tag records: the main timeline of a SwfBuilder, or the nested
// timeline of a DefineSprite.
#pragma once

#include <optional>

#include "action_builder.h"
#include "swf_records.h"

namespace mvqtest {

enum TagCode : uint16_t {
  TagEnd = 0,
  TagShowFrame = 1,
  TagDefineShape = 2,
  TagSetBackgroundColor = 9,
  TagDoAction = 12,
  TagDefineSound = 14,
  TagStartSound = 15,
  TagDefineButtonSound = 17,
  TagSoundStreamHead = 18,
  TagSoundStreamBlock = 19,
  TagPlaceObject2 = 26,
  TagRemoveObject2 = 28,
  TagDefineShape3 = 32,
  TagDefineSprite = 39,
  TagFrameLabel = 43,
  TagSoundStreamHead2 = 45,
};

// Uncompressed PCM (SWF sound format 3, little-endian). rate: 5512, 11025, 22050 or 44100.
struct PcmFormat {
  int rate = 44100;
  bool sixteenBit = true;
  bool stereo = false;
};

// SOUNDINFO of StartSound; unset optionals are left out of the record.
struct SoundInfo {
  bool syncStop = false;
  bool syncNoMultiple = false;
  std::optional<uint32_t> inPoint;
  std::optional<uint32_t> outPoint;
  std::optional<uint16_t> loopCount;
};

struct FilledRect {
  Rect bounds;  // twips
  Rgba color;
};

// PlaceObject2: a new character at a depth (character set, move false), a change of the
// one already there (move true, character unset), or a replacement (both set).
struct PlaceObject2 {
  uint16_t depth = 1;
  std::optional<uint16_t> character;
  bool move = false;
  std::optional<Matrix> matrix;
  std::optional<ColorTransform> colorTransform;
  std::optional<uint16_t> ratio;
  std::optional<std::string> name;
  std::optional<uint16_t> clipDepth;
};

class TagStream;

// The tag methods return the concrete builder, so that calls chain on a SwfBuilder too.
template <class Self>
class TagWriter {
 public:
  // Any tag. forceLong writes the 63 + 32-bit length form even for a short body.
  Self& tag(uint16_t code, const Bytes& body = {}, bool forceLong = false);
  // Bytes as they are, for broken records.
  Self& raw(const Bytes& bytes);

  Self& showFrame();
  Self& end();
  Self& background(uint8_t r, uint8_t g, uint8_t b, bool forceLong = false);
  Self& frameLabel(const std::string& label);
  Self& doAction(const ActionBuilder& actions);  // adds the ActionEndFlag

  // A sprite whose nested tags end with an End tag added here; its frame count is the
  // number of ShowFrame tags in nested unless given.
  Self& defineSprite(uint16_t id, const TagStream& nested, std::optional<uint16_t> frameCount = std::nullopt,
                     bool forceLong = false);

  // One shape of solid rectangles, one fill style each (DefineShape3 when any colour
  // has alpha below 255, DefineShape otherwise). Shape bounds: the union of the rects.
  Self& defineShape(uint16_t id, const std::vector<FilledRect>& rects);
  Self& defineRectShape(uint16_t id, const Rect& bounds, const Rgba& color);
  Self& placeObject2(const PlaceObject2& place);
  Self& placeObject2(uint16_t character, uint16_t depth, const Matrix& matrix = {});
  Self& moveObject2(uint16_t depth, const Matrix& matrix);
  Self& removeObject2(uint16_t depth);

  // Sound tags with PCM bodies; samples interleaved per channel, 16-bit range
  // (8-bit formats keep the high byte).
  Self& defineSound(uint16_t id, const PcmFormat& format, const std::vector<int16_t>& samples, bool forceLong = false);
  Self& startSound(uint16_t id, const SoundInfo& info = {});
  Self& soundStreamHead(const PcmFormat& format, uint16_t samplesPerFrame, bool head2 = false);
  Self& soundStreamBlock(const PcmFormat& format, const std::vector<int16_t>& samples);

  const Bytes& bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }
  int frames() const { return frames_; }
  bool ended() const { return ended_; }

 private:
  Self& self() { return static_cast<Self&>(*this); }

  Bytes bytes_;
  int frames_ = 0;
  bool ended_ = false;
};

// A timeline of tags on its own: the nested tags of a sprite, or a piece of a movie.
class TagStream : public TagWriter<TagStream> {};

// Helpers shared with tests that check bodies.
Bytes pcmSoundData(const PcmFormat& format, const std::vector<int16_t>& samples);
Bytes tagHeader(uint16_t code, uint32_t length, bool forceLong = false);

}  // namespace mvqtest
