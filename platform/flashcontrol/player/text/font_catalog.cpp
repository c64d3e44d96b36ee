#include "font_catalog.h"

namespace swf {

void FontCatalog::add(std::shared_ptr<Font> font) {
  uint16_t id = font->id;
  fonts_[id] = std::move(font);
}

Font* FontCatalog::byId(uint16_t id) {
  auto it = fonts_.find(id);
  return it == fonts_.end() ? nullptr : it->second.get();
}

const Font* FontCatalog::byId(uint16_t id) const { return const_cast<FontCatalog*>(this)->byId(id); }

const Font* FontCatalog::byName(const std::string& name, bool bold, bool italic) const {
  const Font* best = nullptr;
  for (const auto& entry : fonts_) {
    const Font& f = *entry.second;
    if (f.name != name || f.glyphs.empty()) continue;
    if (f.bold == bold && f.italic == italic) return &f;
    if (!best || entry.first < best->id) best = &f;
  }
  return best;
}

}  // namespace swf
