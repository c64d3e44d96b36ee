#include "data_loads.h"

namespace swf {

// A queue of a runaway script stops growing here; later requests fail at once.
constexpr size_t kMaxPendingLoads = 4096;

void DataLoads::request(const std::string& url, avm1::Object* keep, avm1::VmHost::LoadDone done) {
  if (pending_.size() >= kMaxPendingLoads) return;
  pending_.push_back({url, keep, std::move(done)});
}

void DataLoads::complete() {
  std::vector<Pending> due;
  due.swap(pending_);
  for (Pending& p : due) {
    std::vector<uint8_t> bytes;
    bool ok = readBesideMovie(files_, p.url, bytes);
    p.done(ok, ok ? std::string(bytes.begin(), bytes.end()) : std::string());
  }
}

void DataLoads::references(std::vector<avm1::Object*>& out) const {
  for (const Pending& p : pending_) {
    if (p.keep) out.push_back(p.keep);
  }
}

}  // namespace swf
