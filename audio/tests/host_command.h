// Runs programs of the host system from a test under Wine (ffprobe, sox): Wine
// starts a Unix program when asked to, but hands back neither its output nor its
// exit code, so the command line writes both into files that the test waits for.
#pragma once

#include <optional>
#include <string>

namespace audiotest {

// True under Wine with /bin/sh and the named program in /usr/bin.
bool hostToolAvailable(const char* program);
// The host path of a Windows path (Wine's Z: and C: drives); empty when unknown.
std::string hostPath(const std::string& windowsPath);
// The output (stdout and stderr) of a /bin/sh command line that exited with 0;
// nullopt when it failed or did not finish within 60 s.
std::optional<std::string> runHostCommand(const std::string& shellCommand);

}  // namespace audiotest
