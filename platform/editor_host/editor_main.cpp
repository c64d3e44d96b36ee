// mvq-editor.exe: the video editor host on the command line.
//   mvq-editor script FILE|-        commands from a file or standard input
//   mvq-editor render --movie M --out DIR [--plugin P] [--frames A-B]
//                     [--size WxH] [--mode frame-by-frame|normal] [--keep-aspect]
//                     [--project FILE.ppj]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "editor_session.h"

namespace {

int usage() {
  std::cerr << "usage: mvq-editor script FILE|-\n"
               "       mvq-editor render --movie M --out DIR [--plugin P] [--frames A-B]\n"
               "                  [--size WxH] [--mode frame-by-frame|normal] [--keep-aspect]\n"
               "                  [--project FILE.ppj]\n";
  return 2;
}

int runScript(std::istream& in) {
  editor::EditorSession session(std::cout);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!session.run(line)) return 1;
    std::cout.flush();
  }
  return 0;
}

bool parseRender(int argc, char** argv, editor::RenderOptions* o) {
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--keep-aspect") {
      o->keepAspect = true;
      continue;
    }
    if (!value) return false;
    ++i;
    if (arg == "--movie")
      o->movie = value;
    else if (arg == "--out")
      o->outDir = value;
    else if (arg == "--plugin")
      o->plugin = value;
    else if (arg == "--project")
      o->project = value;
    else if (arg == "--frames") {
      if (std::sscanf(value, "%d-%d", &o->first, &o->last) != 2 || o->first < 0 || o->last < o->first) return false;
    } else if (arg == "--size") {
      if (std::sscanf(value, "%dx%d", &o->width, &o->height) != 2 || o->width <= 0 || o->height <= 0) return false;
    } else if (arg == "--mode") {
      if (!std::strcmp(value, "frame-by-frame"))
        o->sequenceMode = 1;
      else if (!std::strcmp(value, "normal"))
        o->sequenceMode = 2;
      else
        return false;
    } else {
      return false;
    }
  }
  return !o->movie.empty() && !o->outDir.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "script" && argc == 3) {
    if (!std::strcmp(argv[2], "-")) return runScript(std::cin);
    std::ifstream file(argv[2]);
    if (!file) return std::cerr << "mvq-editor: cannot read " << argv[2] << "\n", 1;
    return runScript(file);
  }
  if (command == "render") {
    editor::RenderOptions options;
    if (!parseRender(argc, argv, &options)) return usage();
    return editor::renderMovie(options, std::cout, std::cerr);
  }
  return usage();
}
