// The marker structure of a JPEG stream: table, frame and scan headers.
#include "jpeg_decoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "bitmap_limits.h"
#include "jpeg_frame.h"
#include "jpeg_reconstruction.h"
#include "jpeg_scan_decoder.h"

namespace swf {

namespace {

// A segment's body: a bounded cursor over its bytes.
struct Segment {
  const uint8_t* p;
  size_t left;

  bool has(size_t n) const { return left >= n; }
  uint8_t byte() {
    --left;
    return *p++;
  }
  int word() {
    int hi = byte();
    return hi << 8 | byte();
  }
};

struct DecoderState {
  uint16_t quant[4][64] = {};
  bool quantDefined[4] = {};
  JpegHuffmanTable dc[4], ac[4];
  int restartInterval = 0;
  int adobeTransform = -1;
  bool frameSeen = false;
  bool scanSeen = false;
  JpegFrame frame;
};

bool readQuantTables(Segment s, DecoderState& st) {
  while (s.left > 0) {
    int pq = s.p[0] >> 4, tq = s.byte() & 15;
    if (pq > 1 || tq > 3 || !s.has(pq ? 128 : 64)) return false;
    for (int k = 0; k < 64; ++k) st.quant[tq][kZigzag[k]] = uint16_t(pq ? s.word() : s.byte());
    st.quantDefined[tq] = true;
  }
  return true;
}

bool readHuffmanTables(Segment s, DecoderState& st) {
  while (s.left > 0) {
    int tc = s.p[0] >> 4, th = s.byte() & 15;
    if (tc > 1 || th > 3 || !s.has(16)) return false;
    uint8_t counts[16];
    size_t total = 0;
    for (uint8_t& c : counts) total += c = s.byte();
    if (!s.has(total)) return false;
    JpegHuffmanTable& table = tc ? st.ac[th] : st.dc[th];
    if (!table.build(counts, s.p, total)) return false;
    s.p += total;
    s.left -= total;
  }
  return true;
}

bool readRestartInterval(Segment s, DecoderState& st) {
  if (!s.has(2)) return false;
  st.restartInterval = s.word();
  return true;
}

void readAdobe(Segment s, DecoderState& st) {
  if (s.has(12) && std::memcmp(s.p, "Adobe", 5) == 0) st.adobeTransform = s.p[11];
}

bool setUpComponent(JpegComponent& c, const JpegFrame& f) {
  if (f.hmax % c.h || f.vmax % c.v) return false;
  c.width = int((int64_t(f.width) * c.h + f.hmax - 1) / f.hmax);
  c.height = int((int64_t(f.height) * c.v + f.vmax - 1) / f.vmax);
  c.blocksWide = f.mcusWide * c.h;
  c.blocksHigh = f.mcusHigh * c.v;
  c.coefficients.assign(size_t(c.blocksWide) * c.blocksHigh * 64, 0);
  return true;
}

bool readFrame(Segment s, bool progressive, DecoderState& st) {
  if (st.frameSeen || !s.has(6)) return false;
  JpegFrame& f = st.frame;
  int precision = s.byte();
  f.height = s.word();
  f.width = s.word();
  size_t count = s.byte();
  // Height 0 (given later by a DNL marker) is not supported.
  if (precision != 8 || !bitmapSizeAllowed(f.width, f.height)) return false;
  if ((count != 1 && count != 3) || !s.has(3 * count)) return false;
  f.progressive = progressive;
  f.components.resize(count);
  for (JpegComponent& c : f.components) {
    c.id = s.byte();
    c.h = s.p[0] >> 4;
    c.v = s.byte() & 15;
    c.quantIndex = s.byte();
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.quantIndex > 3) return false;
    f.hmax = std::max(f.hmax, c.h);
    f.vmax = std::max(f.vmax, c.v);
  }
  f.mcusWide = (f.width + 8 * f.hmax - 1) / (8 * f.hmax);
  f.mcusHigh = (f.height + 8 * f.vmax - 1) / (8 * f.vmax);
  for (JpegComponent& c : f.components)
    if (!setUpComponent(c, f)) return false;
  st.frameSeen = true;
  return true;
}

int componentIndex(const JpegFrame& f, int id) {
  for (size_t i = 0; i < f.components.size(); ++i)
    if (f.components[i].id == id) return int(i);
  return -1;
}

bool validBand(const JpegScan& scan, bool progressive) {
  if (!progressive) return true;
  if (scan.ss > scan.se || scan.se > 63 || scan.ah > 13 || scan.al > 13) return false;
  return scan.ss == 0 ? scan.se == 0 : scan.count == 1;
}

// Huffman tables the scan will use must exist; quantization is taken now.
bool bindTables(JpegScan& scan, int slot, int tables, DecoderState& st) {
  int td = tables >> 4, ta = tables & 15;
  if (td > 3 || ta > 3) return false;
  bool progressive = st.frame.progressive;
  bool needDc = !progressive || (scan.ss == 0 && scan.ah == 0);
  bool needAc = !progressive || scan.ss > 0;
  if ((needDc && !st.dc[td].defined()) || (needAc && !st.ac[ta].defined())) return false;
  scan.dc[slot] = &st.dc[td];
  scan.ac[slot] = &st.ac[ta];
  JpegComponent& c = st.frame.components[scan.component[slot]];
  if (!c.quantTaken) {
    if (!st.quantDefined[c.quantIndex]) return false;
    std::memcpy(c.quant, st.quant[c.quantIndex], sizeof c.quant);
    c.quantTaken = true;
  }
  return true;
}

bool readScanHeader(Segment s, DecoderState& st, JpegScan& scan) {
  if (!st.frameSeen || !s.has(1)) return false;
  scan.count = s.byte();
  if (scan.count < 1 || scan.count > int(st.frame.components.size()) || !s.has(2 * size_t(scan.count) + 3))
    return false;
  int tables[4];
  int blocks = 0;
  for (int i = 0; i < scan.count; ++i) {
    int index = componentIndex(st.frame, s.byte());
    if (index < 0) return false;
    for (int j = 0; j < i; ++j)
      if (scan.component[j] == index) return false;
    scan.component[i] = index;
    tables[i] = s.byte();
    blocks += st.frame.components[index].h * st.frame.components[index].v;
  }
  if (scan.count > 1 && blocks > 10) return false;
  bool progressive = st.frame.progressive;
  scan.ss = s.byte();
  scan.se = s.byte();
  scan.ah = s.p[0] >> 4;
  scan.al = s.byte() & 15;
  if (!progressive) {
    // Sequential scans always carry the whole band; the fields mean nothing there.
    scan.ss = 0;
    scan.se = 63;
    scan.ah = scan.al = 0;
  }
  if (!validBand(scan, progressive)) return false;
  for (int i = 0; i < scan.count; ++i)
    if (!bindTables(scan, i, tables[i], st)) return false;
  return true;
}

// Finds the next marker at or after pos; returns its code and sets pos past it, or 0 at the end.
int nextMarker(const uint8_t* d, size_t n, size_t& pos) {
  while (pos + 1 < n) {
    if (d[pos] != 0xFF || d[pos + 1] == 0x00 || d[pos + 1] == 0xFF) {
      ++pos;
      continue;
    }
    pos += 2;
    return d[pos - 1];
  }
  return 0;
}

bool standalone(int m) { return m == 0x01 || m == 0xD8 || (m >= 0xD0 && m <= 0xD7); }

bool unsupportedFrame(int m) {
  // Lossless, hierarchical and arithmetic-coded frames, and arithmetic conditioning.
  return m == 0xC3 || (m >= 0xC5 && m <= 0xCF);
}

// False for a damaged or unsupported segment.
bool readSegment(int m, const uint8_t* d, size_t n, size_t& pos, bool tablesOnly, DecoderState& st) {
  if (pos + 2 > n) return false;
  size_t length = size_t(d[pos]) << 8 | d[pos + 1];
  if (length < 2 || pos + length > n) return false;
  Segment s{d + pos + 2, length - 2};
  pos += length;
  bool ok = true;
  if (m == 0xDB) {
    ok = readQuantTables(s, st);
  } else if (m == 0xC4) {
    ok = readHuffmanTables(s, st);
  } else if (m == 0xDD) {
    ok = readRestartInterval(s, st);
  } else if (m == 0xEE) {
    readAdobe(s, st);
  } else if (m == 0xC0 || m == 0xC1 || m == 0xC2) {
    ok = !tablesOnly && readFrame(s, m == 0xC2, st);
  } else if (m == 0xDA) {
    JpegScan scan;
    if (tablesOnly || !readScanHeader(s, st, scan)) return false;
    pos = decodeScan(d, n, pos, scan, st.restartInterval, st.frame);
    st.scanSeen = true;
  } else if (unsupportedFrame(m)) {
    ok = false;
  }
  return ok;
}

// Reads markers to the end of the stream or the EOI after the picture. An EOI
// before any scan only separates tables from the picture, as SWF streams do.
bool readStream(const uint8_t* d, size_t n, bool tablesOnly, DecoderState& st) {
  size_t pos = 0;
  while (int m = nextMarker(d, n, pos)) {
    if (m == 0xD9) {
      if (st.scanSeen) return true;
      continue;
    }
    if (standalone(m)) continue;
    // A stream cut short after its first scan still shows what it has.
    if (!readSegment(m, d, n, pos, tablesOnly, st)) return st.scanSeen;
  }
  return true;
}

bool rgbComponents(const DecoderState& st) {
  if (st.frame.components.size() != 3) return false;
  if (st.adobeTransform >= 0) return st.adobeTransform == 0;
  const auto& c = st.frame.components;
  return c[0].id == 'R' && c[1].id == 'G' && c[2].id == 'B';
}

}  // namespace

bool decodeJpeg(const uint8_t* tables, size_t tablesSize, const uint8_t* data, size_t size, DecodedImage* out) {
  if (!out || !data) return false;
  auto st = std::make_unique<DecoderState>();
  if (tables && tablesSize && !readStream(tables, tablesSize, true, *st)) return false;
  if (!readStream(data, size, false, *st) || !st->scanSeen) return false;
  reconstructJpeg(st->frame, rgbComponents(*st), out);
  return true;
}

}  // namespace swf
