#include "movie.h"

#include <memory>

#include "../images/jpeg_bitmap.h"
#include "../images/jpeg_decoder.h"
#include "../images/lossless_bitmap.h"
#include "../tags/control_tags.h"
#include "../tags/define_bits.h"
#include "../tags/define_sprite.h"
#include "../tags/shape_parser.h"
#include "button_states.h"
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
    case TagCode::DefineVideoStream: return true;
    default: return false;
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

int buttonVersionOf(TagCode code) {
  return code == TagCode::DefineButton ? 1 : (code == TagCode::DefineButton2 ? 2 : 0);
}

int morphVersionOf(TagCode code) {
  return code == TagCode::DefineMorphShape ? 1 : (code == TagCode::DefineMorphShape2 ? 2 : 0);
}

}  // namespace

bool Movie::parse(const std::vector<uint8_t>& fileBytes) {
  if (!readMovieFile(fileBytes, file_)) return false;
  storedLength_ = fileBytes.size();
  root_.frameCount = file_.frameCount > 0 ? file_.frameCount : 1;
  const uint8_t* tags = file_.body.data() + file_.tagsOffset;
  readTags(tags, file_.body.size() - file_.tagsOffset, root_, true);
  return true;
}

const Character* Movie::character(uint16_t id) const {
  auto it = dictionary_.find(id);
  return it == dictionary_.end() ? nullptr : &it->second;
}

uint16_t Movie::exportedCharacter(const std::string& name) const {
  for (const auto& entry : exports_) {
    if (sameTextIgnoringCase(entry.second, name)) return entry.first;
  }
  return 0;
}

std::vector<std::string> Movie::exportNames(uint16_t id) const {
  std::vector<std::string> names;
  for (const auto& entry : exports_) {
    if (entry.first == id) names.push_back(entry.second);
  }
  return names;
}

void Movie::readTags(const uint8_t* data, size_t size, Timeline& timeline, bool topLevel) {
  TagReader tags(data, size);
  TagRecord tag;
  int frame = 0;
  while (tags.next(tag) && tag.code != TagCode::End) {
    switch (tag.code) {
      case TagCode::ShowFrame: ++frame; break;
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
      case TagCode::DoInitAction: {
        Frame* f = frameAt(timeline, frame);
        uint16_t sprite = 0;
        if (f && topLevel && !actionScript3_ && readCharacterId(tag.body, tag.length, sprite)) {
          f->initActions.push_back(InitActionBlock{sprite, ActionBlock{tag.body + 2, tag.length - 2}});
        }
        break;
      }
      case TagCode::ExportAssets:
        if (topLevel) readExportAssets(tag.body, tag.length, exports_);
        break;
      case TagCode::FrameLabel:
        if (frame < timeline.frameCount) timeline.labels.emplace_back(readFrameLabel(tag.body, tag.length), frame);
        break;
      case TagCode::DefineSound:
      case TagCode::StartSound:
      case TagCode::SoundStreamHead:
      case TagCode::SoundStreamHead2:
      case TagCode::SoundStreamBlock: readSoundTag(tag, timeline, frame, topLevel); break;
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
        } else if (int b = buttonVersionOf(tag.code)) {
          defineButton(tag.body, tag.length, b);
        } else if (tag.code == TagCode::DefineButtonCxform) {
          colorButton(tag.body, tag.length);
        } else if (int m = morphVersionOf(tag.code)) {
          defineMorphShape(tag.body, tag.length, m);
        } else if (defineTextTag(tag)) {
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
  sprite->spriteBytes = tag.tagsSize;
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

void Movie::defineButton(const uint8_t* body, size_t length, int buttonVersion) {
  auto button = std::make_shared<Button>();
  if (!parseButton(body, length, buttonVersion, *button)) return;
  uint16_t id = button->id;
  auto upState = buttonStateTimeline(*button, ButtonUp);
  dictionary_[id] = ButtonCharacter{std::move(button), std::move(upState)};
}

void Movie::colorButton(const uint8_t* body, size_t length) {
  uint16_t id = 0;
  ColorTransform cx;
  if (!parseButtonCxform(body, length, id, cx)) return;
  auto it = dictionary_.find(id);
  auto* c = it == dictionary_.end() ? nullptr : std::get_if<ButtonCharacter>(&it->second);
  if (!c || c->button->version != 1) return;
  auto button = std::make_shared<Button>(*c->button);
  for (ButtonRecord& r : button->records) r.colorTransform = cx;
  c->upState = buttonStateTimeline(*button, ButtonUp);
  c->button = std::move(button);
}

void Movie::defineMorphShape(const uint8_t* body, size_t length, int morphVersion) {
  auto morph = std::make_shared<MorphShape>();
  if (!parseMorphShape(body, length, morphVersion, *morph)) return;
  resolveBitmaps(morph->start);
  resolveBitmaps(morph->end);
  uint16_t id = morph->id;
  dictionary_[id] = MorphCharacter{std::move(morph)};
}

void Movie::defineInert(const uint8_t* body, size_t length) {
  uint16_t id = 0;
  if (readCharacterId(body, length, id)) dictionary_[id] = InertCharacter{};
}

}  // namespace swf
