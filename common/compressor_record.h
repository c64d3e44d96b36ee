// The COMPVARS that names the export's video compressor, with the compressor
// it keeps open; both are freed with their owner.
#pragma once

#include <windows.h>
#include <vfw.h>

// Frees a record made with calloc and the compressor in it; null is allowed.
void freeCompressorRecord(COMPVARS* record);

class CompressorRecord {
 public:
  CompressorRecord() = default;
  explicit CompressorRecord(COMPVARS* record) : record_(record) {}
  ~CompressorRecord() { freeCompressorRecord(record_); }
  CompressorRecord(CompressorRecord&& other) noexcept : record_(other.record_) { other.record_ = nullptr; }
  CompressorRecord& operator=(CompressorRecord&& other) noexcept;
  CompressorRecord(const CompressorRecord&) = delete;
  CompressorRecord& operator=(const CompressorRecord&) = delete;

  COMPVARS* get() const { return record_; }

 private:
  COMPVARS* record_ = nullptr;
};
