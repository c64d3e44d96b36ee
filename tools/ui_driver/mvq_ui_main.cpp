// mvq-ui: the UI driver's console front end. Commands come from the arguments
// (one command each) or, without arguments, from standard input, one a line.
#include <cstdio>
#include <iostream>
#include <string>

#include "ui_script.h"

int main(int argc, char** argv) {
  ui::ScriptSession session;
  auto runLine = [&](const std::string& line) {
    const std::string reply = session.run(line);
    if (reply.empty()) return true;
    std::printf("%s\n", reply.c_str());
    std::fflush(stdout);
    return reply.compare(0, 2, "ok") == 0;
  };
  bool allOk = true;
  if (argc > 1) {
    for (int i = 1; i < argc && !session.finished(); ++i) allOk = runLine(argv[i]) && allOk;
  } else {
    std::string line;
    while (!session.finished() && std::getline(std::cin, line)) allOk = runLine(line) && allOk;
  }
  return allOk ? 0 : 1;
}
