#include "url_text.h"

#include "../text.h"
#include "../vm.h"

namespace swf {
namespace avm1 {
std::string escapeText(const std::string& s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (plain) {
      out.push_back(char(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "+" is a space; "%" takes up to two hex digits, and a character that is
// none ends the escape and goes with it.
std::string unescapeText(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '+') {
      out.push_back(' ');
      continue;
    }
    if (s[i] != '%') {
      out.push_back(s[i]);
      continue;
    }
    int code = 0;
    int digits = 0;
    while (digits < 2 && i + 1 < s.size()) {
      int d = hexDigit(s[++i]);
      if (d < 0) break;
      code = code * 16 + d;
      ++digits;
    }
    if (digits == 2) out.push_back(char(code));
  }
  return out;
}

void decodeVariables(Vm& vm, Object* target, const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('&', start);
    if (end == std::string::npos) end = text.size();
    std::string pair = text.substr(start, end - start);
    size_t eq = pair.find('=');
    // A pair without a name sets nothing.
    if (eq != 0 && !pair.empty()) {
      std::string name = unescapeText(pair.substr(0, eq));
      std::string value = eq == std::string::npos ? std::string() : unescapeText(pair.substr(eq + 1));
      target->set(name, Value(value));
      if (vm.unwinding()) return;
    }
    start = end + 1;
  }
}

std::string encodeVariables(Vm& vm, Object* target) {
  std::string out;
  for (const std::string& name : target->enumerableNames()) {
    std::string value = vm.toString(target->get(name));
    if (vm.unwinding()) return std::string();
    if (!out.empty()) out += '&';
    out += escapeText(name) + "=" + escapeText(value);
  }
  return out;
}

namespace {

std::string fromUtf16(const std::string& bytes, bool bigEndian) {
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    units.push_back(char16_t(hi << 8 | lo));
  }
  return fromUnits(units, 6);
}

}  // namespace

std::string loadedText(Vm& vm, const std::string& bytes) {
  if (vm.version() < 6) return bytes;
  Object* system = vm.global()->get("System").asObject();
  if (system && vm.toBoolean(system->get("useCodepage"))) return fromUnits(toUnits(bytes, 5), 6);
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return fromUtf16(bytes, false);
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return fromUtf16(bytes, true);
  return bytes;
}

}  // namespace avm1
}  // namespace swf
