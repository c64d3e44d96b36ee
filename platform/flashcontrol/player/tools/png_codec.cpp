#include "png_codec.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace swf {
namespace tools {
namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void putU32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v >> 24));
  out.push_back(uint8_t(v >> 16));
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

uint32_t getU32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  putU32(out, uint32_t(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, out.data() + start, uInt(out.size() - start));
  putU32(out, uint32_t(crc));
}

struct Header {
  uint32_t width = 0, height = 0;
  int depth = 0, colorType = 0, interlace = 0;
};

int channelsOf(int colorType) {
  switch (colorType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    case 6: return 4;
    default: return 0;
  }
}

int paeth(int a, int b, int c) {
  int p = a + b - c, pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

bool unfilter(std::vector<uint8_t>& data, size_t rowBytes, size_t height, size_t bpp) {
  if (data.size() < (rowBytes + 1) * height) return false;
  std::vector<uint8_t> prev(rowBytes, 0);
  for (size_t y = 0; y < height; ++y) {
    uint8_t* row = data.data() + y * (rowBytes + 1);
    uint8_t type = row[0];
    uint8_t* px = row + 1;
    for (size_t i = 0; i < rowBytes; ++i) {
      int a = i >= bpp ? px[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
      int add = 0;
      switch (type) {
        case 0: break;
        case 1: add = a; break;
        case 2: add = b; break;
        case 3: add = (a + b) / 2; break;
        case 4: add = paeth(a, b, c); break;
        default: return false;
      }
      px[i] = uint8_t(px[i] + add);
    }
    std::memcpy(prev.data(), px, rowBytes);
  }
  return true;
}

// Sample i of a row, scaled to 8 bits.
int sampleAt(const uint8_t* row, size_t i, int depth) {
  if (depth == 8) return row[i];
  if (depth == 16) return row[i * 2];
  int perByte = 8 / depth;
  int shift = 8 - depth * (int(i % size_t(perByte)) + 1);
  int v = (row[i / size_t(perByte)] >> shift) & ((1 << depth) - 1);
  return v * 255 / ((1 << depth) - 1);
}

int rawIndexAt(const uint8_t* row, size_t i, int depth) {
  if (depth == 8) return row[i];
  int perByte = 8 / depth;
  int shift = 8 - depth * (int(i % size_t(perByte)) + 1);
  return (row[i / size_t(perByte)] >> shift) & ((1 << depth) - 1);
}

bool fail(std::string& error, const char* why) {
  error = why;
  return false;
}

uint8_t overWhite(int c, int a) { return uint8_t((c * a + 255 * (255 - a) + 127) / 255); }

bool inflateAll(const std::vector<uint8_t>& in, std::vector<uint8_t>& out, size_t expected) {
  out.resize(expected);
  uLongf len = uLongf(expected);
  int rc = uncompress(out.data(), &len, in.data(), uLong(in.size()));
  return rc == Z_OK && len == expected;
}

}  // namespace

bool writePng(const std::string& path, const RgbImage& image) {
  std::vector<uint8_t> raw;
  size_t rowBytes = size_t(image.width) * 3;
  raw.reserve((rowBytes + 1) * size_t(image.height));
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);
    const uint8_t* row = image.rgb.data() + size_t(y) * rowBytes;
    raw.insert(raw.end(), row, row + rowBytes);
  }
  uLongf packedLen = compressBound(uLong(raw.size()));
  std::vector<uint8_t> packed(packedLen);
  if (compress2(packed.data(), &packedLen, raw.data(), uLong(raw.size()), 6) != Z_OK) return false;
  packed.resize(packedLen);

  std::vector<uint8_t> file(kSignature, kSignature + 8);
  std::vector<uint8_t> ihdr;
  putU32(ihdr, uint32_t(image.width));
  putU32(ihdr, uint32_t(image.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  putChunk(file, "IHDR", ihdr);
  putChunk(file, "IDAT", packed);
  putChunk(file, "IEND", {});
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok;
}

bool readPng(const std::string& path, RgbImage& image, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (d.size() < 8 || std::memcmp(d.data(), kSignature, 8) != 0) return fail(error, "not a PNG");
  Header h;
  std::vector<uint8_t> palette, alphas, idat;
  for (size_t pos = 8; pos + 12 <= d.size();) {
    uint32_t len = getU32(&d[pos]);
    if (len > d.size() - pos - 12) return fail(error, "truncated chunk");
    const uint8_t* body = &d[pos + 8];
    std::string type(reinterpret_cast<const char*>(&d[pos + 4]), 4);
    if (type == "IHDR" && len >= 13) {
      h.width = getU32(body), h.height = getU32(body + 4);
      h.depth = body[8], h.colorType = body[9], h.interlace = body[12];
    } else if (type == "PLTE") {
      palette.assign(body, body + len);
    } else if (type == "tRNS") {
      alphas.assign(body, body + len);
    } else if (type == "IDAT") {
      idat.insert(idat.end(), body, body + len);
    }
    pos += 12 + len;
  }
  int channels = channelsOf(h.colorType);
  if (!channels || h.interlace || h.width == 0 || h.height == 0 || h.width > 16384 || h.height > 16384) {
    return fail(error, "unsupported PNG layout");
  }
  size_t bitsPerPixel = size_t(channels) * size_t(h.depth);
  size_t rowBytes = (size_t(h.width) * bitsPerPixel + 7) / 8;
  size_t bpp = (bitsPerPixel + 7) / 8;
  std::vector<uint8_t> raw;
  if (!inflateAll(idat, raw, (rowBytes + 1) * h.height)) return fail(error, "bad image data");
  if (!unfilter(raw, rowBytes, h.height, bpp)) return fail(error, "bad filter");

  image.width = int(h.width), image.height = int(h.height);
  image.rgb.assign(size_t(h.width) * h.height * 3, 0);
  for (size_t y = 0; y < h.height; ++y) {
    const uint8_t* row = raw.data() + y * (rowBytes + 1) + 1;
    for (size_t x = 0; x < h.width; ++x) {
      int r, g, b, a = 255;
      size_t s = x * size_t(channels);
      if (h.colorType == 3) {
        size_t idx = size_t(rawIndexAt(row, x, h.depth));
        if (idx * 3 + 2 >= palette.size()) return fail(error, "palette index out of range");
        r = palette[idx * 3], g = palette[idx * 3 + 1], b = palette[idx * 3 + 2];
        if (idx < alphas.size()) a = alphas[idx];
      } else if (channels <= 2) {
        r = g = b = sampleAt(row, s, h.depth);
        if (channels == 2) a = sampleAt(row, s + 1, h.depth);
      } else {
        r = sampleAt(row, s, h.depth), g = sampleAt(row, s + 1, h.depth), b = sampleAt(row, s + 2, h.depth);
        if (channels == 4) a = sampleAt(row, s + 3, h.depth);
      }
      uint8_t* out = &image.rgb[(y * h.width + x) * 3];
      out[0] = overWhite(r, a), out[1] = overWhite(g, a), out[2] = overWhite(b, a);
    }
  }
  return true;
}

}  // namespace tools
}  // namespace swf
