#include "case_fold.h"

namespace swf {
namespace {

// Pairs laid out upper, lower, upper, lower... from `first` to `last`.
bool inEvenPairs(uint32_t c, uint32_t first, uint32_t last) { return c >= first && c <= last && (c - first) % 2 == 0; }

uint32_t foldLatinExtended(uint32_t c) {
  if (c == 0x130) return 'i';
  if (c == 0x178) return 0xFF;
  if (inEvenPairs(c, 0x100, 0x12F) || inEvenPairs(c, 0x132, 0x137) || inEvenPairs(c, 0x14A, 0x177)) return c + 1;
  if (inEvenPairs(c, 0x139, 0x148) || inEvenPairs(c, 0x179, 0x17E)) return c + 1;
  // Digraphs come as upper, title and lower forms.
  if (c == 0x1C4 || c == 0x1C7 || c == 0x1CA || c == 0x1F1) return c + 2;
  if (c == 0x1C5 || c == 0x1C8 || c == 0x1CB || c == 0x1F2) return c + 1;
  if (inEvenPairs(c, 0x1CD, 0x1DC)) return c + 1;
  if (inEvenPairs(c, 0x1DE, 0x1EF) || inEvenPairs(c, 0x1F4, 0x1F5) || inEvenPairs(c, 0x1F8, 0x21F) ||
      inEvenPairs(c, 0x222, 0x233)) {
    return c + 1;
  }
  return c;
}

uint32_t foldGreekCyrillic(uint32_t c) {
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (inEvenPairs(c, 0x3E2, 0x3EF)) return c + 1;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (inEvenPairs(c, 0x460, 0x481) || inEvenPairs(c, 0x48A, 0x4BF) || inEvenPairs(c, 0x4D0, 0x4F9)) return c + 1;
  if (c >= 0x4C1 && c <= 0x4CE && (c - 0x4C1) % 2 == 0) return c + 1;
  return c;
}

size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

void appendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

}  // namespace

uint32_t foldedCodePoint(uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 32;
  if (c < 0x100) return c;
  if (c < 0x250) return foldLatinExtended(c);
  if (c >= 0x380 && c < 0x500) return foldGreekCyrillic(c);
  return c;
}

std::string foldCase(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = (unsigned char)text[i];
    size_t n = lead < 0x80 ? 1 : sequenceLength(lead);
    bool whole = n > 1 && i + n <= text.size();
    for (size_t k = 1; whole && k < n; ++k) whole = ((unsigned char)text[i + k] & 0xC0) == 0x80;
    // Only two- and three-byte letters fold; anything else is copied.
    if (n == 1 || (whole && n <= 3)) {
      uint32_t c = n == 1 ? lead : n == 2 ? (lead & 0x1Fu) : (lead & 0x0Fu);
      for (size_t k = 1; k < n; ++k) c = (c << 6) | ((unsigned char)text[i + k] & 0x3Fu);
      appendUtf8(out, foldedCodePoint(c));
      i += n;
      continue;
    }
    size_t copy = whole ? n : 1;
    out.append(text, i, copy);
    i += copy;
  }
  return out;
}

bool sameFoldedText(const std::string& a, const std::string& b) {
  for (unsigned char c : a + b) {
    if (c >= 0x80) return foldCase(a) == foldCase(b);
  }
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (foldedCodePoint((unsigned char)a[i]) != foldedCodePoint((unsigned char)b[i])) return false;
  }
  return true;
}

}  // namespace swf
