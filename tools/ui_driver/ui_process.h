// Starting the program under test and waiting for it to end.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace ui {

class Program {
 public:
  Program() = default;
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // commandLine as CreateProcess takes it; folder: the working directory (empty:
  // ours); environment: variables set for the program on top of ours.
  bool start(const std::string& commandLine, const std::string& folder = std::string(),
             const std::vector<std::pair<std::string, std::string>>& environment = {});
  // Takes over a program that is already running.
  bool attach(DWORD processId);

  DWORD id() const { return id_; }
  bool running() const;
  // The exit code, or -1 when it has not ended within the time.
  long waitForExit(DWORD timeoutMs);
  void terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace ui
