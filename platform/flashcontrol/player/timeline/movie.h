// A loaded movie: header facts, dictionary and main timeline. Immutable once
// parsed; every playing instance refers back to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../read/movie_file.h"
#include "../tags/export_assets.h"
#include "../tags/tag_reader.h"
#include "../text/font_catalog.h"
#include "character.h"
#include "timeline.h"

namespace swf {

class Movie {
 public:
  Movie() = default;
  // Frame actions point into the body: a movie stays where it was parsed.
  Movie(const Movie&) = delete;
  Movie& operator=(const Movie&) = delete;

  // False when the bytes are no movie; true with whatever the tags gave up
  // to the first damaged one otherwise.
  bool parse(const std::vector<uint8_t>& fileBytes);

  int version() const { return file_.version; }
  const Rect& frameSize() const { return file_.frameSize; }
  // The bytes of the file as stored (compressed when it is).
  size_t fileLength() const { return storedLength_; }
  // The movie's length once expanded, as its clips count their bytes.
  size_t expandedLength() const { return file_.body.size() + 8; }
  double frameRate() const { return file_.frameRate; }
  uint32_t backgroundRgb() const { return background_; }
  // ActionScript 3 movies play their timelines without scripts.
  bool runsActions() const { return !actionScript3_; }
  const Timeline& root() const { return root_; }
  const Character* character(uint16_t id) const;
  const FontCatalog& fonts() const { return fonts_; }
  // The character exported under name (ASCII case ignored), or 0.
  uint16_t exportedCharacter(const std::string& name) const;
  // The names a character is exported under, in tag order.
  std::vector<std::string> exportNames(uint16_t id) const;
  // DefineSound bodies of the movie, in tag order.
  const std::vector<TagBody>& soundDefinitions() const { return soundDefinitions_; }

 private:
  void readTags(const uint8_t* data, size_t size, Timeline& timeline, bool topLevel);
  void defineSprite(const uint8_t* body, size_t length);
  void defineShape(const uint8_t* body, size_t length, int shapeVersion);
  void defineInert(const uint8_t* body, size_t length);
  void defineButton(const uint8_t* body, size_t length, int buttonVersion);
  // DefineButtonCxform: the colour transform of a DefineButton's records.
  void colorButton(const uint8_t* body, size_t length);
  void defineMorphShape(const uint8_t* body, size_t length, int morphVersion);
  // Fonts, static text and text fields (movie_text.cpp).
  bool defineTextTag(const TagRecord& tag);
  void defineBitmap(const TagRecord& tag);
  // Points the shape's bitmap fills at the bitmaps defined so far.
  void resolveBitmaps(Shape& shape) const;
  void readSoundTag(const TagRecord& tag, Timeline& timeline, int frame, bool topLevel);

  MovieFile file_;
  size_t storedLength_ = 0;
  Dictionary dictionary_;
  FontCatalog fonts_;
  std::vector<TagBody> soundDefinitions_;
  ExportList exports_;
  TagBody jpegTables_;
  Timeline root_;
  uint32_t background_ = 0xFFFFFF;
  bool backgroundSet_ = false;
  bool actionScript3_ = false;
};

}  // namespace swf
