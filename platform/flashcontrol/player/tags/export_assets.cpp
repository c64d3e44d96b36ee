#include "export_assets.h"

#include "../read/swf_reader.h"

namespace swf {

bool readExportAssets(const uint8_t* body, size_t size, ExportList& out) {
  SwfReader r(body, size);
  uint16_t count = r.u16();
  for (uint16_t i = 0; i < count && !r.overrun(); ++i) {
    uint16_t id = r.u16();
    std::string name = r.string();
    if (r.overrun()) return false;
    out.emplace_back(id, std::move(name));
  }
  return !r.overrun();
}

}  // namespace swf
