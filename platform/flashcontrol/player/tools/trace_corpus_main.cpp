// swf-trace-corpus CORPUS_DIR [--write LIST] [--diff NAME]
// Runs every movie of CORPUS_DIR/swfdec-trace and CORPUS_DIR/ruffle-avm1,
// compares its trace() lines with the reference log and prints the counts
// of exact matches. --write puts the matching movies' names in LIST (the
// conformance test's data); --diff shows one movie's lines against its log.
#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "trace_case.h"
#include "trace_run.h"

namespace {

using swf::tools::TraceCase;

// Runs one case in a child process so that a crash or hang costs only it.
bool matchesIsolated(const TraceCase& c) {
  pid_t pid = fork();
  if (pid == 0) {
    alarm(60);
    _exit(swf::tools::traceCaseMatches(c) ? 0 : 1);
  }
  if (pid < 0) return swf::tools::traceCaseMatches(c);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void showDiff(const TraceCase& c) {
  std::vector<std::string> got;
  std::vector<std::string> want;
  swf::tools::runTraceCase(c, got, want);
  size_t n = std::max(got.size(), want.size());
  for (size_t i = 0; i < n; ++i) {
    const char* g = i < got.size() ? got[i].c_str() : "<none>";
    const char* w = i < want.size() ? want[i].c_str() : "<none>";
    std::printf("%c %-40s | %s\n", i < got.size() && i < want.size() && got[i] == want[i] ? ' ' : '!', w, g);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: swf-trace-corpus CORPUS_DIR [--write LIST] [--diff NAME]\n");
    return 2;
  }
  std::string root = argv[1];
  std::string writePath, diffName;
  for (int i = 2; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--write") writePath = argv[i + 1];
    if (a == "--diff") diffName = argv[i + 1];
  }
  std::vector<TraceCase> cases = swf::tools::findTraceCases(root);
  if (!diffName.empty()) {
    for (const TraceCase& c : cases) {
      if (c.name == diffName) showDiff(c);
    }
    return 0;
  }
  std::vector<std::string> matching;
  int swfdec = 0, swfdecTotal = 0, ruffle = 0, ruffleTotal = 0;
  for (const TraceCase& c : cases) {
    bool ok = matchesIsolated(c);
    bool isSwfdec = c.name.compare(0, 12, "swfdec-trace") == 0;
    (isSwfdec ? swfdecTotal : ruffleTotal)++;
    if (ok) {
      (isSwfdec ? swfdec : ruffle)++;
      matching.push_back(c.name);
    }
  }
  std::printf("swfdec-trace %d/%d match\nruffle-avm1 %d/%d match\n", swfdec, swfdecTotal, ruffle, ruffleTotal);
  if (!writePath.empty()) {
    std::ofstream out(writePath);
    for (const std::string& name : matching) out << name << "\n";
  }
  return 0;
}
