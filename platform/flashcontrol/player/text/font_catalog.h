// The fonts a movie defines, by id and by name (text fields name fonts in
// their HTML).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "font.h"

namespace swf {

class FontCatalog {
 public:
  void add(std::shared_ptr<Font> font);
  Font* byId(uint16_t id);
  const Font* byId(uint16_t id) const;
  // The font of that name with glyphs, preferring the style asked for.
  const Font* byName(const std::string& name, bool bold, bool italic) const;

 private:
  std::unordered_map<uint16_t, std::shared_ptr<Font>> fonts_;
};

}  // namespace swf
