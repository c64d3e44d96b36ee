#include "plugin_declaration.h"

#include <windows.h>

namespace editor {

namespace {

constexpr int kImptId = 1000;
constexpr int kPiplId = 16000;

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// The bytes of a resource, or false when the module has none of that id.
bool resourceBytes(HMODULE module, const char* type, int id, std::vector<uint8_t>* bytes) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  const auto* begin = static_cast<const uint8_t*>(data);
  bytes->assign(begin, begin + size);
  return true;
}

}  // namespace

uint32_t PiplProperty::value() const { return data.size() >= 4 ? le32(data, 0) : 0; }

std::string PiplProperty::pascalText() const {
  if (data.empty()) return std::string();
  const size_t length = data[0] < data.size() ? data[0] : data.size() - 1;
  return std::string(data.begin() + 1, data.begin() + 1 + length);
}

const PiplProperty* PluginDeclaration::property(uint32_t key) const {
  for (const PiplProperty& p : properties)
    if (p.key == key) return &p;
  return nullptr;
}

bool parsePipl(const std::vector<uint8_t>& bytes, PluginDeclaration* declaration) {
  if (bytes.size() < 10) return false;
  declaration->piplVersion = uint16_t(bytes[0] | bytes[1] << 8);
  declaration->piplReserved = le32(bytes, 2);
  const uint32_t count = le32(bytes, 6);
  size_t at = 10;
  declaration->properties.clear();
  for (uint32_t i = 0; i < count; ++i) {
    if (bytes.size() - at < 16) return false;
    PiplProperty p;
    p.vendor = le32(bytes, at);
    p.key = le32(bytes, at + 4);
    p.id = le32(bytes, at + 8);
    const uint32_t length = le32(bytes, at + 12);
    at += 16;
    const size_t padded = (size_t(length) + 3) & ~size_t(3);
    if (length > bytes.size() - at || padded > bytes.size() - at) return false;
    p.data.assign(bytes.begin() + at, bytes.begin() + at + length);
    at += padded;
    declaration->properties.push_back(p);
  }
  return true;
}

bool readPluginDeclaration(const std::string& path, PluginDeclaration* declaration, std::string* error) {
  *declaration = PluginDeclaration();
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    *error = "cannot read " + path + " as a module";
    return false;
  }
  bool ok = true;
  declaration->hasImpt = resourceBytes(module, "IMPT", kImptId, &declaration->impt);
  if (declaration->hasImpt) {
    if (declaration->impt.size() < 6) {
      *error = "IMPT resource shorter than 6 bytes";
      ok = false;
    } else {
      declaration->fileType = int32_t(le32(declaration->impt, 2));
    }
  }
  std::vector<uint8_t> pipl;
  declaration->hasPipl = resourceBytes(module, "PiPL", kPiplId, &pipl);
  if (ok && declaration->hasPipl && !parsePipl(pipl, declaration)) {
    *error = "PiPL resource runs past its end";
    ok = false;
  }
  FreeLibrary(module);
  return ok;
}

}  // namespace editor
