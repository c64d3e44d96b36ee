#include "jpeg_test_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace jpegtest {

namespace {

constexpr double kPi = 3.14159265358979323846;

const int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                         41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                         30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Code lengths spread from 2 to 16 bits so that long codes get decoded too.
const uint8_t kDcCounts[16] = {0, 1, 3, 3, 2, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
const uint8_t kAcCounts[16] = {0, 1, 1, 2, 4, 8, 16, 10, 20, 20, 40, 30, 0, 0, 0, 10};

struct Table {
  uint8_t counts[16];
  std::vector<uint8_t> symbols;
  int code[256] = {}, length[256] = {};

  void assignCodes() {
    int c = 0;
    size_t i = 0;
    for (int len = 1; len <= 16; ++len, c <<= 1)
      for (int n = 0; n < counts[len - 1]; ++n, ++c, ++i) {
        code[symbols[i]] = c;
        length[symbols[i]] = len;
      }
  }
};

Table dcTable() {
  Table t;
  std::copy(kDcCounts, kDcCounts + 16, t.counts);
  for (int s = 0; s < 12; ++s) t.symbols.push_back(uint8_t(s));
  t.assignCodes();
  return t;
}

Table acTable() {
  Table t;
  std::copy(kAcCounts, kAcCounts + 16, t.counts);
  t.symbols = {0x00, 0xF0};
  for (int s = 1; s <= 10; ++s)
    for (int r = 0; r < 16; ++r) t.symbols.push_back(uint8_t(r << 4 | s));
  std::stable_sort(t.symbols.begin() + 2, t.symbols.end(),
                   [](int a, int b) { return (a >> 4) + (a & 15) < (b >> 4) + (b & 15); });
  t.assignCodes();
  return t;
}

class BitWriter {
 public:
  explicit BitWriter(Bytes& out) : out_(out) {}
  void put(int value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      acc_ = acc_ << 1 | ((value >> i) & 1);
      if (++bits_ == 8) emit();
    }
  }
  void symbol(const Table& t, int s) { put(t.code[s], t.length[s]); }
  // Magnitude category and its bits.
  void value(int v, int category) { put(v < 0 ? v + (1 << category) - 1 : v, category); }
  void flush() {
    while (bits_) put(1, 1);
  }

 private:
  void emit() {
    out_.push_back(uint8_t(acc_));
    if (acc_ == 0xFF) out_.push_back(0);
    acc_ = 0;
    bits_ = 0;
  }
  Bytes& out_;
  int acc_ = 0, bits_ = 0;
};

int category(int v) {
  int n = 0;
  for (v = std::abs(v); v; v >>= 1) ++n;
  return n;
}

struct Component {
  int h, v, width, height, blocksWide, blocksHigh;
  std::vector<int> coefs;  // natural order, quantized
  int* block(int bx, int by) { return &coefs[(size_t(by) * blocksWide + bx) * 64]; }
};

void forwardDct(const double* in, int* out, int quant) {
  for (int v = 0; v < 8; ++v)
    for (int u = 0; u < 8; ++u) {
      double sum = 0;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          sum += in[y * 8 + x] * std::cos((2 * x + 1) * u * kPi / 16) * std::cos((2 * y + 1) * v * kPi / 16);
      double cu = u ? 1 : std::sqrt(0.5), cv = v ? 1 : std::sqrt(0.5);
      out[v * 8 + u] = int(std::lround(sum * cu * cv / 4 / quant));
    }
}

std::vector<Component> transform(int width, int height, const std::function<Rgb(int, int)>& pixel, const Options& o) {
  int hmax = 1, vmax = 1;
  for (int c = 0; c < o.components; ++c) hmax = std::max(hmax, o.h[c]), vmax = std::max(vmax, o.v[c]);
  int mcusWide = (width + 8 * hmax - 1) / (8 * hmax), mcusHigh = (height + 8 * vmax - 1) / (8 * vmax);
  std::vector<Component> comps;
  for (int c = 0; c < o.components; ++c) {
    Component k{o.h[c], o.v[c], 0, 0, mcusWide * o.h[c], mcusHigh * o.v[c], {}};
    int rx = hmax / k.h, ry = vmax / k.v;
    k.width = (width + rx - 1) / rx;
    k.height = (height + ry - 1) / ry;
    k.coefs.assign(size_t(k.blocksWide) * k.blocksHigh * 64, 0);
    auto sample = [&](int x, int y) {  // box average over the covered pixels, edges repeated
      double sum = 0;
      for (int dy = 0; dy < ry; ++dy)
        for (int dx = 0; dx < rx; ++dx) {
          Rgb p = pixel(std::min(x * rx + dx, width - 1), std::min(y * ry + dy, height - 1));
          if (o.components == 1 || o.adobeRgb)
            sum += c == 0 ? p.r : c == 1 ? p.g : p.b;
          else if (c == 0)
            sum += 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
          else if (c == 1)
            sum += -0.168736 * p.r - 0.331264 * p.g + 0.5 * p.b + 128;
          else
            sum += 0.5 * p.r - 0.418688 * p.g - 0.081312 * p.b + 128;
        }
      return sum / (rx * ry);
    };
    for (int by = 0; by < k.blocksHigh; ++by)
      for (int bx = 0; bx < k.blocksWide; ++bx) {
        double in[64];
        for (int i = 0; i < 64; ++i)
          in[i] = sample(std::min(bx * 8 + i % 8, k.width - 1), std::min(by * 8 + i / 8, k.height - 1)) - 128;
        forwardDct(in, k.block(bx, by), o.quant);
      }
    comps.push_back(std::move(k));
  }
  return comps;
}

void segment(Bytes& out, int marker, const Bytes& body) {
  out.insert(out.end(), {0xFF, uint8_t(marker), uint8_t((body.size() + 2) >> 8), uint8_t(body.size() + 2)});
  out.insert(out.end(), body.begin(), body.end());
}

void tables(Bytes& out, const Options& o, const Table& dc, const Table& ac) {
  Bytes q{uint8_t(o.wideQuant ? 0x10 : 0x00)};
  for (int i = 0; i < 64; ++i) {
    if (o.wideQuant) q.push_back(uint8_t(o.quant >> 8));
    q.push_back(uint8_t(o.quant));
  }
  segment(out, 0xDB, q);
  for (int cls = 0; cls < 2; ++cls) {
    const Table& t = cls ? ac : dc;
    Bytes b{uint8_t(cls << 4)};
    b.insert(b.end(), t.counts, t.counts + 16);
    b.insert(b.end(), t.symbols.begin(), t.symbols.end());
    segment(out, 0xC4, b);
  }
}

// One scan's blocks, in the order and with the restart markers the decoder expects.
struct ScanWriter {
  std::vector<Component>& comps;
  const Options& o;
  const Table& dc;
  const Table& ac;

  template <typename Block>
  void run(Bytes& out, const std::vector<int>& which, int ss, int se, int ah, int al, Block encodeBlock) {
    Bytes header{uint8_t(which.size())};
    for (int c : which) header.insert(header.end(), {uint8_t(c + 1), 0x00});
    header.insert(header.end(), {uint8_t(ss), uint8_t(se), uint8_t(ah << 4 | al)});
    segment(out, 0xDA, header);
    BitWriter w(out);
    int pred[3] = {};
    std::vector<std::vector<int*>> mcus;
    if (which.size() == 1) {
      Component& k = comps[which[0]];
      for (int by = 0; by < (k.height + 7) / 8; ++by)
        for (int bx = 0; bx < (k.width + 7) / 8; ++bx) mcus.push_back({k.block(bx, by)});
    } else {
      int mw = comps[0].blocksWide / comps[0].h, mh = comps[0].blocksHigh / comps[0].v;
      for (int my = 0; my < mh; ++my)
        for (int mx = 0; mx < mw; ++mx) {
          mcus.emplace_back();
          for (int c : which)
            for (int y = 0; y < comps[c].v; ++y)
              for (int x = 0; x < comps[c].h; ++x)
                mcus.back().push_back(comps[c].block(mx * comps[c].h + x, my * comps[c].v + y));
        }
    }
    for (size_t m = 0; m < mcus.size(); ++m) {
      if (o.restartInterval && m && m % o.restartInterval == 0) {
        w.flush();
        out.insert(out.end(), {0xFF, uint8_t(0xD0 + (m / o.restartInterval - 1) % 8)});
        std::fill(pred, pred + 3, 0);
      }
      size_t i = 0;
      for (int c : which) {
        int n = which.size() == 1 ? 1 : comps[c].h * comps[c].v;
        for (int b = 0; b < n; ++b) encodeBlock(w, mcus[m][i++], pred[c]);
      }
    }
    w.flush();
  }

  void sequentialBlock(BitWriter& w, const int* b, int& pred) const {
    firstDc(w, b, pred, 0);
    firstAc(w, b, 1, 63, 0);
  }
  void firstDc(BitWriter& w, const int* b, int& pred, int al) const {
    int dcv = b[0] >> al;
    int diff = dcv - pred;
    pred = dcv;
    w.symbol(dc, category(diff));
    w.value(diff, category(diff));
  }
  void firstAc(BitWriter& w, const int* b, int ss, int se, int al) const {
    int run = 0;
    for (int k = ss; k <= se; ++k) {
      int c = b[kZigzag[k]];
      int a = (c < 0 ? -c : c) >> al;
      if (a == 0) {
        ++run;
        continue;
      }
      for (; run > 15; run -= 16) w.symbol(ac, 0xF0);
      int s = category(a);
      w.symbol(ac, run << 4 | s);
      w.value(c < 0 ? -a : a, s);
      run = 0;
    }
    if (run) w.symbol(ac, 0x00);
  }
  // Band short enough that no run needs ZRL.
  void refineAc(BitWriter& w, const int* b, int ss, int se, int al) const {
    int run = 0;
    std::vector<int> corrections;
    for (int k = ss; k <= se; ++k) {
      int c = b[kZigzag[k]];
      int a = (c < 0 ? -c : c) >> al;
      if (a > 1) {
        corrections.push_back(a & 1);
      } else if (a == 0) {
        ++run;
      } else {
        w.symbol(ac, run << 4 | 1);
        w.put(c > 0, 1);
        for (int bit : corrections) w.put(bit, 1);
        corrections.clear();
        run = 0;
      }
    }
    if (run || !corrections.empty()) {
      w.symbol(ac, 0x00);
      for (int bit : corrections) w.put(bit, 1);
    }
  }
};

}  // namespace

Encoded encode(int width, int height, const std::function<Rgb(int, int)>& pixel, const Options& o) {
  std::vector<Component> comps = transform(width, height, pixel, o);
  Table dc = dcTable(), ac = acTable();
  Encoded e;
  Bytes& img = e.image;
  img = {0xFF, 0xD8};
  segment(img, 0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  segment(img, 0xFE, {'t', 'e', 's', 't', 0xFF, 0xD9});
  if (o.adobeRgb) segment(img, 0xEE, {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 0});
  if (o.separateTables) {
    e.tables = {0xFF, 0xD8};
    tables(e.tables, o, dc, ac);
    e.tables.insert(e.tables.end(), {0xFF, 0xD9});
  } else {
    tables(img, o, dc, ac);
  }
  Bytes sof{8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width), uint8_t(o.components)};
  for (int c = 0; c < o.components; ++c) sof.insert(sof.end(), {uint8_t(c + 1), uint8_t(o.h[c] << 4 | o.v[c]), 0});
  segment(img, o.progressive ? 0xC2 : 0xC0, sof);
  if (o.restartInterval) segment(img, 0xDD, {uint8_t(o.restartInterval >> 8), uint8_t(o.restartInterval)});
  ScanWriter s{comps, o, dc, ac};
  std::vector<int> all;
  for (int c = 0; c < o.components; ++c) all.push_back(c);
  if (!o.progressive) {
    s.run(img, all, 0, 63, 0, 0, [&](BitWriter& w, int* b, int& p) { s.sequentialBlock(w, b, p); });
  } else {
    // DC in two steps, low AC in two steps, the rest of AC in one.
    s.run(img, all, 0, 0, 0, 1, [&](BitWriter& w, int* b, int& p) { s.firstDc(w, b, p, 1); });
    for (int c : all) s.run(img, {c}, 1, 5, 0, 1, [&](BitWriter& w, int* b, int&) { s.firstAc(w, b, 1, 5, 1); });
    for (int c : all) s.run(img, {c}, 6, 63, 0, 0, [&](BitWriter& w, int* b, int&) { s.firstAc(w, b, 6, 63, 0); });
    s.run(img, all, 0, 0, 1, 0, [&](BitWriter& w, int* b, int&) { w.put(b[0] & 1, 1); });
    for (int c : all) s.run(img, {c}, 1, 5, 1, 0, [&](BitWriter& w, int* b, int&) { s.refineAc(w, b, 1, 5, 0); });
  }
  img.insert(img.end(), {0xFF, 0xD9});
  return e;
}

}  // namespace jpegtest
