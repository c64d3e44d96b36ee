#include "data_loads.h"

#include <fstream>
#include <iterator>

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
    std::string bytes;
    bool ok = reader_ && reader_(p.url, bytes);
    p.done(ok, ok ? bytes : std::string());
  }
}

void DataLoads::references(std::vector<avm1::Object*>& out) const {
  for (const Pending& p : pending_) {
    if (p.keep) out.push_back(p.keep);
  }
}

bool insideFolder(const std::string& name) {
  if (name.empty() || name.find(':') != std::string::npos || name[0] == '/' || name[0] == '\\') return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0 && end - start == 2) return false;
    start = end + 1;
  }
  return true;
}

DataLoads::Reader folderReader(const std::string& folder) {
  return [folder](const std::string& url, std::string& bytes) {
    std::string name = url.substr(0, url.find('?'));
    if (!insideFolder(name)) return false;
    std::ifstream in(folder.empty() ? name : folder + "/" + name, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  };
}

}  // namespace swf
