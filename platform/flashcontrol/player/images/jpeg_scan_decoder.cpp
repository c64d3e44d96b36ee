#include "jpeg_scan_decoder.h"

#include "jpeg_bit_reader.h"

namespace swf {

const uint8_t kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                             41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                             30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

namespace {

int16_t clampCoefficient(int64_t v) { return int16_t(v < -32768 ? -32768 : v > 32767 ? 32767 : v); }

class ScanDecoder {
 public:
  ScanDecoder(const uint8_t* data, size_t size, size_t pos, const JpegScan& scan, bool progressive)
      : reader_(data, size, pos), scan_(scan), progressive_(progressive) {}

  // False when the block's data is not valid Huffman-coded data.
  bool decodeBlock(int slot, int16_t* block) {
    if (!progressive_) return sequential(slot, block);
    if (scan_.ss == 0) return scan_.ah == 0 ? dcFirst(slot, block) : dcRefine(block);
    return scan_.ah == 0 ? acFirst(slot, block) : acRefine(slot, block);
  }

  bool restart() {
    for (int& p : predictor_) p = 0;
    eobRun_ = 0;
    return reader_.restart();
  }

  bool overrun() const { return reader_.overrun(); }
  size_t position() const { return reader_.position(); }

 private:
  // The DC difference's magnitude category, or -1.
  int dcCategory(int slot) {
    int t = scan_.dc[slot]->decode(reader_);
    return t > 15 ? -1 : t;
  }

  bool sequential(int slot, int16_t* block) {
    int t = dcCategory(slot);
    if (t < 0) return false;
    predictor_[slot] = clampCoefficient(int64_t(predictor_[slot]) + reader_.extend(t));
    block[0] = int16_t(predictor_[slot]);
    for (int k = 1; k < 64;) {
      int rs = scan_.ac[slot]->decode(reader_);
      if (rs < 0) return false;
      int run = rs >> 4, s = rs & 15;
      if (s == 0) {
        if (run != 15) break;
        k += 16;
        continue;
      }
      k += run;
      if (k > 63) return false;
      block[kZigzag[k++]] = int16_t(reader_.extend(s));
    }
    return true;
  }

  bool dcFirst(int slot, int16_t* block) {
    int t = dcCategory(slot);
    if (t < 0) return false;
    predictor_[slot] = clampCoefficient(int64_t(predictor_[slot]) + reader_.extend(t));
    block[0] = clampCoefficient(int64_t(predictor_[slot]) * (int64_t(1) << scan_.al));
    return true;
  }

  bool dcRefine(int16_t* block) {
    if (reader_.bits(1)) block[0] = int16_t(block[0] | (1 << scan_.al));
    return true;
  }

  // Starts an end-of-band run of (1 << r) + r extra bits bands.
  void startEobRun(int r) { eobRun_ = (1 << r) + (r ? int(reader_.bits(r)) : 0); }

  bool acFirst(int slot, int16_t* block) {
    if (eobRun_ > 0) {
      --eobRun_;
      return true;
    }
    for (int k = scan_.ss; k <= scan_.se;) {
      int rs = scan_.ac[slot]->decode(reader_);
      if (rs < 0) return false;
      int run = rs >> 4, s = rs & 15;
      if (s == 0) {
        if (run != 15) {
          startEobRun(run);
          --eobRun_;
          break;
        }
        k += 16;
        continue;
      }
      k += run;
      if (k > scan_.se) return false;
      block[kZigzag[k++]] = clampCoefficient(int64_t(reader_.extend(s)) * (int64_t(1) << scan_.al));
    }
    return true;
  }

  // A coefficient already non-zero gets one more bit of magnitude.
  void refine(int16_t* c) {
    int bit = 1 << scan_.al;
    if (reader_.bits(1) && (*c & bit) == 0) *c = clampCoefficient(*c >= 0 ? *c + bit : *c - bit);
  }

  bool acRefine(int slot, int16_t* block) {
    int k = scan_.ss;
    if (eobRun_ == 0) {
      for (; k <= scan_.se; ++k) {
        int rs = scan_.ac[slot]->decode(reader_);
        if (rs < 0) return false;
        int run = rs >> 4, s = rs & 15;
        int value = 0;
        if (s != 0) {
          if (s != 1) return false;
          value = reader_.bits(1) ? (1 << scan_.al) : -(1 << scan_.al);
        } else if (run != 15) {
          startEobRun(run);
          break;
        }
        // Skip `run` zero coefficients, refining the non-zero ones passed on the way.
        for (; k <= scan_.se; ++k) {
          int16_t* c = &block[kZigzag[k]];
          if (*c != 0) {
            refine(c);
          } else if (run-- == 0) {
            break;
          }
        }
        if (value != 0) {
          if (k > scan_.se) return false;
          block[kZigzag[k]] = int16_t(value);
        }
      }
    }
    if (eobRun_ > 0) {
      for (; k <= scan_.se; ++k)
        if (block[kZigzag[k]] != 0) refine(&block[kZigzag[k]]);
      --eobRun_;
    }
    return true;
  }

  JpegBitReader reader_;
  const JpegScan& scan_;
  bool progressive_;
  int predictor_[4] = {};
  int eobRun_ = 0;
};

// Visits the scan's MCUs in order; `decodeMcu` returns false to stop.
template <typename Visit>
void forEachMcu(int mcuCount, int restartInterval, ScanDecoder& decoder, Visit decodeMcu) {
  for (int i = 0; i < mcuCount; ++i) {
    if (restartInterval > 0 && i > 0 && i % restartInterval == 0 && !decoder.restart()) return;
    if (!decodeMcu(i) || decoder.overrun()) return;
  }
}

}  // namespace

size_t decodeScan(const uint8_t* data, size_t size, size_t pos, const JpegScan& scan, int restartInterval,
                  JpegFrame& frame) {
  ScanDecoder decoder(data, size, pos, scan, frame.progressive);
  if (scan.count == 1) {
    // One component alone: its blocks in raster order, one block an MCU.
    JpegComponent& c = frame.components[scan.component[0]];
    int wide = (c.width + 7) / 8, high = (c.height + 7) / 8;
    forEachMcu(wide * high, restartInterval, decoder,
               [&](int i) { return decoder.decodeBlock(0, c.block(i % wide, i / wide)); });
  } else {
    forEachMcu(frame.mcusWide * frame.mcusHigh, restartInterval, decoder, [&](int i) {
      int mx = i % frame.mcusWide, my = i / frame.mcusWide;
      for (int slot = 0; slot < scan.count; ++slot) {
        JpegComponent& c = frame.components[scan.component[slot]];
        for (int by = 0; by < c.v; ++by)
          for (int bx = 0; bx < c.h; ++bx)
            if (!decoder.decodeBlock(slot, c.block(mx * c.h + bx, my * c.v + by))) return false;
      }
      return true;
    });
  }
  return decoder.position();
}

}  // namespace swf
