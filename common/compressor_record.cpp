#include "compressor_record.h"

#include <cstdlib>

void freeCompressorRecord(COMPVARS* record) {
  if (!record) return;
  ICCompressorFree(record);
  std::free(record);
}

CompressorRecord& CompressorRecord::operator=(CompressorRecord&& other) noexcept {
  if (this != &other) {
    freeCompressorRecord(record_);
    record_ = other.record_;
    other.record_ = nullptr;
  }
  return *this;
}
