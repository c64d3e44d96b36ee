// The editor host driven by text: one command a line, one result line each,
// as "WORD key=value ...". Used by mvq-editor.exe for scripts and renders.
//
//   load PLUGIN            interface N           init             format INDEX
//   project PATH           clip NAME MOVIE       settings NAME
//   set NAME maxLength|mode|aspect VALUE         info NAME [nosettings]
//   image NAME FRAME WIDTH HEIGHT [RGBA-FILE]    analysis NAME SIZE
//   prefs NAME             close NAME            selector NUMBER
//   shutdown               unload
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "importer_host.h"

namespace editor {

class EditorSession {
 public:
  explicit EditorSession(std::ostream& out) : out_(out) {}
  ~EditorSession();

  // False when the command is unknown or malformed (a line "error ..." is
  // written); plug-in results, failures included, are written and return true.
  bool run(const std::string& line);

 private:
  struct HostCommand {
    const char* name;
    bool (EditorSession::*run)(std::istringstream& args);
  };
  struct ClipCommand {
    const char* name;
    bool (EditorSession::*run)(const std::string& name, HostClip& clip, std::istringstream& args);
  };
  static const std::vector<HostCommand>& hostCommands();
  static const std::vector<ClipCommand>& clipCommands();

  HostClip* clip(const std::string& name);
  bool clipCommand(const std::string& word, std::istringstream& args);

  bool load(std::istringstream& args);
  bool interfaceVersion(std::istringstream& args);
  bool init(std::istringstream& args);
  bool format(std::istringstream& args);
  bool project(std::istringstream& args);
  bool selector(std::istringstream& args);
  bool shutdown(std::istringstream& args);
  bool unload(std::istringstream& args);

  bool settings(const std::string& name, HostClip& clip, std::istringstream& args);
  bool set(const std::string& name, HostClip& clip, std::istringstream& args);
  bool info(const std::string& name, HostClip& clip, std::istringstream& args);
  bool image(const std::string& name, HostClip& clip, std::istringstream& args);
  bool analysis(const std::string& name, HostClip& clip, std::istringstream& args);
  bool prefs(const std::string& name, HostClip& clip, std::istringstream& args);
  bool close(const std::string& name, HostClip& clip, std::istringstream& args);

  std::ostream& out_;
  ImporterHost host_;
  std::map<std::string, std::unique_ptr<HostClip>> clips_;
  std::map<std::string, ClipDescription> descriptions_;
};

struct RenderOptions {
  std::string plugin;  // empty: im-tq-swf.prm beside the program
  std::string movie;
  std::string outDir;
  int first = 0, last = -1;   // last -1: the clip's last frame
  int width = 0, height = 0;  // 0: the clip's size
  int sequenceMode = 1;
  bool keepAspect = false;
  std::string project;  // opened through the editor's module; the clip then
                        // takes its length from the project, not from settings
};

// Renders frames first..last through the plug-in into OUTDIR/frame_NNNNN.rgba
// (top-down R, G, B, A). Writes "size WxH" and one "frame N" line per frame.
// 0 on success, else 1 with the reason written to err.
int renderMovie(const RenderOptions& options, std::ostream& out, std::ostream& err);

// Bytes of a bottom-up B, G, R, A buffer as top-down R, G, B, A.
std::string topDownRgba(const ImageRequest& request);

}  // namespace editor
