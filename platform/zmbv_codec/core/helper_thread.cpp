#include "helper_thread.h"

#include <system_error>

namespace zmbv {

HelperThread::HelperThread() {
  try {
    thread_ = std::thread([this] { serve(); });
  } catch (const std::system_error&) {
    // No thread to be had: the halves run one after the other.
  }
}

HelperThread::~HelperThread() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void HelperThread::runHalves(const std::function<void(int half)>& job) {
  if (!thread_.joinable()) {
    job(0);
    job(1);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = &job;
  }
  wake_.notify_one();
  job(0);
  std::unique_lock<std::mutex> lock(mutex_);
  finished_.wait(lock, [this] { return job_ == nullptr; });
}

void HelperThread::serve() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || job_ != nullptr; });
    if (job_ == nullptr) return;
    const std::function<void(int)>* job = job_;
    lock.unlock();
    (*job)(1);
    lock.lock();
    job_ = nullptr;
    finished_.notify_one();
  }
}

}  // namespace zmbv
