// A second thread for the encoder: each frame's work is split into two halves,
// one done by the caller and one by the helper, so that a frame costs about half
// its time on a machine with two cores. Without a helper (none could be started)
// both halves run on the caller.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zmbv {

class HelperThread {
 public:
  HelperThread();
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // Runs job(1) on the helper and job(0) here; returns when both have ended.
  void runHalves(const std::function<void(int half)>& job);

 private:
  void serve();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  const std::function<void(int)>* job_ = nullptr;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zmbv
