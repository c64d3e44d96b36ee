#include "movie.h"

#include <memory>

#include "../images/jpeg_bitmap.h"
#include "../images/jpeg_decoder.h"
#include "../images/lossless_bitmap.h"
#include "../tags/control_tags.h"
#include "../tags/define_bits.h"
#include "../tags/define_sprite.h"
#include "../tags/shape_parser.h"
#include "../tags/tag_reader.h"

namespace swf {
namespace {

// Frames are stored up to the last one that holds something, and no further
// than a timeline's declared count.
Frame* frameAt(Timeline& t, int index) {
  if (index >= t.frameCount) return nullptr;
  if (size_t(index) >= t.frames.size()) t.frames.resize(size_t(index) + 1);
  return &t.frames[size_t(index)];
}

bool isInertDefinition(TagCode code) {
  switch (code) {
    case TagCode::DefineButton:
    case TagCode::DefineText:
    case TagCode::DefineText2:
    case TagCode::DefineButton2:
    case TagCode::DefineEditText:
    case TagCode::DefineMorphShape:
    case TagCode::DefineVideoStream:
    case TagCode::DefineMorphShape2:
      return true;
    default:
      return false;
  }
}

constexpr JpegDecoder kJpegDecoder = &decodeJpeg;

int shapeVersionOf(TagCode code) {
  switch (code) {
    case TagCode::DefineShape: return 1;
    case TagCode::DefineShape2: return 2;
    case TagCode::DefineShape3: return 3;
    case TagCode::DefineShape4: return 4;
    default: return 0;
  }
}

}  // namespace

bool Movie::parse(const std::vector<uint8_t>& fileBytes) {
  if (!readMovieFile(fileBytes, file_)) return false;
  root_.frameCount = file_.frameCount > 0 ? file_.frameCount : 1;
  const uint8_t* tags = file_.body.data() + file_.tagsOffset;
  readTags(tags, file_.body.size() - file_.tagsOffset, root_, true);
  return true;
}

const Character* Movie::character(uint16_t id) const {
  auto it = dictionary_.find(id);
  return it == dictionary_.end() ? nullptr : &it->second;
}

void Movie::readTags(const uint8_t* data, size_t size, Timeline& timeline, bool topLevel) {
  TagReader tags(data, size);
  TagRecord tag;
  int frame = 0;
  while (tags.next(tag) && tag.code != TagCode::End) {
    switch (tag.code) {
      case TagCode::ShowFrame:
        ++frame;
        break;
      case TagCode::PlaceObject:
      case TagCode::PlaceObject2:
      case TagCode::PlaceObject3: {
        FrameCommand c;
        Frame* f = frameAt(timeline, frame);
        if (f && parsePlaceObject(tag.code, tag.body, tag.length, c.place, file_.version)) {
          c.depth = c.place.depth;
          f->commands.push_back(std::move(c));
        }
        break;
      }
      case TagCode::RemoveObject:
      case TagCode::RemoveObject2: {
        FrameCommand c;
        c.kind = FrameCommand::Kind::Remove;
        Frame* f = frameAt(timeline, frame);
        if (f && parseRemoveObject(tag.code, tag.body, tag.length, c.depth)) f->commands.push_back(c);
        break;
      }
      case TagCode::DoAction: {
        Frame* f = frameAt(timeline, frame);
        if (f && !actionScript3_) f->actions.push_back(ActionBlock{tag.body, tag.length});
        break;
      }
      case TagCode::FrameLabel:
        if (frame < timeline.frameCount) timeline.labels.emplace_back(readFrameLabel(tag.body, tag.length), frame);
        break;
      case TagCode::DefineSound:
      case TagCode::StartSound:
      case TagCode::SoundStreamHead:
      case TagCode::SoundStreamHead2:
      case TagCode::SoundStreamBlock:
        readSoundTag(tag, timeline, frame, topLevel);
        break;
      case TagCode::SetBackgroundColor:
        if (!backgroundSet_) backgroundSet_ = readBackgroundColor(tag.body, tag.length, background_);
        break;
      case TagCode::JpegTables:
        if (topLevel && !jpegTables_.data) jpegTables_ = TagBody{tag.body, tag.length};
        break;
      case TagCode::FileAttributes:
        if (topLevel && file_.version >= 9) readFileAttributes(tag.body, tag.length, actionScript3_);
        break;
      default:
        if (!topLevel) break;
        if (tag.code == TagCode::DefineSprite) {
          defineSprite(tag.body, tag.length);
        } else if (isLosslessBitmapTag(tag.code) || isJpegBitmapTag(tag.code)) {
          defineBitmap(tag);
        } else if (int v = shapeVersionOf(tag.code)) {
          defineShape(tag.body, tag.length, v);
        } else if (isInertDefinition(tag.code)) {
          defineInert(tag.body, tag.length);
        }
        break;
    }
  }
}

// Sound bodies are kept unread; the mixer parses them when they play.
void Movie::readSoundTag(const TagRecord& tag, Timeline& timeline, int frame, bool topLevel) {
  const TagBody body{tag.body, tag.length};
  if (tag.code == TagCode::DefineSound) {
    if (topLevel) soundDefinitions_.push_back(body);
  } else if (tag.code == TagCode::SoundStreamHead || tag.code == TagCode::SoundStreamHead2) {
    if (!timeline.streamHead.data) timeline.streamHead = body;
  } else if (Frame* f = frameAt(timeline, frame)) {
    bool start = tag.code == TagCode::StartSound;
    SoundTag::Kind kind = start ? SoundTag::Kind::Start : SoundTag::Kind::StreamBlock;
    f->sounds.push_back(SoundTag{kind, body});
  }
}

void Movie::defineSprite(const uint8_t* body, size_t length) {
  SpriteTag tag;
  if (!readDefineSprite(body, length, tag)) return;
  auto sprite = std::make_shared<Timeline>();
  sprite->frameCount = tag.frameCount;
  readTags(tag.tags, tag.tagsSize, *sprite, false);
  dictionary_[tag.id] = SpriteCharacter{std::move(sprite)};
}

void Movie::defineShape(const uint8_t* body, size_t length, int shapeVersion) {
  auto shape = std::make_shared<Shape>();
  if (!parseShape(body, length, shapeVersion, *shape)) return;
  resolveBitmaps(*shape);
  uint16_t id = shape->id;
  dictionary_[id] = ShapeCharacter{std::move(shape)};
}

// A bitmap that cannot be decoded still takes its id, as an inert character.
void Movie::defineBitmap(const TagRecord& tag) {
  uint16_t id = 0;
  if (!readCharacterId(tag.body, tag.length, id)) return;
  auto image = std::make_shared<DecodedImage>();
  bool decoded = false;
  if (isLosslessBitmapTag(tag.code)) {
    LosslessBitmapTag lossless;
    decoded = readLosslessBitmapTag(tag.code, tag.body, tag.length, lossless) && decodeLosslessBitmap(lossless, *image);
  } else {
    JpegBitmapTag jpeg;
    decoded = readJpegBitmapTag(tag.code, tag.body, tag.length, jpeg) &&
              decodeJpegBitmap(jpeg, jpegTables_.data, jpegTables_.size, kJpegDecoder, *image);
  }
  if (decoded) {
    dictionary_[id] = BitmapCharacter{std::move(image)};
  } else {
    dictionary_[id] = InertCharacter{};
  }
}

void Movie::resolveBitmaps(Shape& shape) const {
  auto resolve = [this](FillStyle& f) {
    if (f.kind != FillStyle::Kind::Bitmap) return;
    const Character* c = character(f.bitmapId);
    if (auto* bitmap = c ? std::get_if<BitmapCharacter>(c) : nullptr) f.bitmap = bitmap->image;
  };
  for (FillStyle& f : shape.fills) resolve(f);
  for (LineStyle& l : shape.lines) {
    if (l.hasFill) resolve(l.fill);
  }
}

void Movie::defineInert(const uint8_t* body, size_t length) {
  uint16_t id = 0;
  if (readCharacterId(body, length, id)) dictionary_[id] = InertCharacter{};
}

}  // namespace swf
