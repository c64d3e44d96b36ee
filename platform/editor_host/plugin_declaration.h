// What an importer declares in its resources, read as the editor does before
// it runs any of the plug-in's code: the IMPT resource (1000) with the file
// type, and the PiPL property list (16000).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace editor {

struct PiplProperty {
  uint32_t vendor = 0;
  uint32_t key = 0;
  uint32_t id = 0;
  std::vector<uint8_t> data;
  uint32_t value() const;          // the first four data bytes, little-endian
  std::string pascalText() const;  // a length byte and the characters
};

struct PluginDeclaration {
  bool hasImpt = false;
  std::vector<uint8_t> impt;  // the resource's bytes
  int32_t fileType = 0;       // its file type
  bool hasPipl = false;
  uint16_t piplVersion = 0;
  uint32_t piplReserved = 0;
  std::vector<PiplProperty> properties;
  const PiplProperty* property(uint32_t key) const;
};

// False with a reason when the file cannot be read as a module or a resource
// is malformed; a missing resource only leaves its has-flag false.
bool readPluginDeclaration(const std::string& path, PluginDeclaration* declaration, std::string* error);
// The PiPL bytes as properties; false when they run past their end.
bool parsePipl(const std::vector<uint8_t>& bytes, PluginDeclaration* declaration);

}  // namespace editor
