#include "ui_process.h"

#include <map>

namespace ui {

namespace {

// Our environment with the overrides applied, as a CreateProcess block.
std::string environmentBlock(const std::vector<std::pair<std::string, std::string>>& overrides) {
  std::map<std::string, std::string> variables;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; entry && *entry; entry += std::string(entry).size() + 1) {
    const std::string text(entry);
    const size_t equals = text.find('=', 1);
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  if (strings) FreeEnvironmentStringsA(strings);
  for (const auto& variable : overrides) variables[variable.first] = variable.second;
  std::string block;
  for (const auto& variable : variables) {
    block += variable.first + "=" + variable.second;
    block.push_back('\0');
  }
  block.push_back('\0');
  return block;
}

}  // namespace

Program::~Program() {
  if (process_) CloseHandle(process_);
}

bool Program::start(const std::string& commandLine, const std::string& folder,
                    const std::vector<std::pair<std::string, std::string>>& environment) {
  // The program gets no standard handles of ours: a caller reading our output
  // through a pipe would otherwise wait for the program to end too.
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE none = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                            OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = none;
  PROCESS_INFORMATION info = {};
  std::string command = commandLine;
  std::string block = environmentBlock(environment);
  const BOOL started =
      CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, environment.empty() ? nullptr : &block[0],
                     folder.empty() ? nullptr : folder.c_str(), &startup, &info);
  if (none != INVALID_HANDLE_VALUE) CloseHandle(none);
  if (!started) return false;
  CloseHandle(info.hThread);
  if (process_) CloseHandle(process_);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  WaitForInputIdle(process_, 5000);
  return true;
}

bool Program::attach(DWORD processId) {
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
  if (!process) return false;
  if (process_) CloseHandle(process_);
  process_ = process;
  id_ = processId;
  return true;
}

bool Program::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

long Program::waitForExit(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<long>(code);
}

void Program::terminate() {
  if (running()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
  }
}

}  // namespace ui
