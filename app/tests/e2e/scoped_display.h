// A second X display of the test's own (for a screen of another depth),
// started and stopped through the system's shell.
#pragma once

#include <string>

namespace e2e {

class ScopedDisplay {
 public:
  explicit ScopedDisplay(int depth);
  ~ScopedDisplay();
  ScopedDisplay(const ScopedDisplay&) = delete;
  ScopedDisplay& operator=(const ScopedDisplay&) = delete;

  bool ready() const { return ready_; }
  const std::string& name() const { return name_; }  // ":N"

 private:
  int number_ = 0;
  bool ready_ = false;
  std::string name_;
};

}  // namespace e2e
