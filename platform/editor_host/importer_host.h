// A video editor as an importer plug-in sees it: it reads the plug-in's
// declaration, loads it, and calls its selectors with the standard parameters
// and records laid out at the editor's byte positions. One clip's records
// live in a HostClip between calls, as the editor keeps them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "editor_records.h"
#include "host_callbacks.h"
#include "plugin_declaration.h"

namespace editor {

struct ClipDescription {
  int hasVideo = -1, hasAudio = -1;
  int32_t width = 0, height = 0;
  int depth = 0;
  int32_t subType = 0;
  int fieldType = -1, alphaType = -1;
  int matteRed = -1, matteGreen = -1, matteBlue = -1;
  int32_t vidScale = 0, vidSampleSize = 0, vidDuration = 0;
  // The clip length in frames.
  int32_t frames() const { return vidSampleSize > 0 ? vidDuration / vidSampleSize : 0; }
};

struct HostClip {
  explicit HostClip(const std::string& moviePath, int32_t fileType = fourCC('S', 'W', 'F', '_'));

  std::string path;
  int32_t fileType;
  Record access;
  Record info;
  char* privateData = nullptr;  // the plug-in's block, kept between calls
  char* settings = nullptr;     // the clip's settings block (host memory)
  int32_t settingsLength = 0;
};

// An image request and the host buffer it fills; bytes past the buffer's
// end are a guard that must stay untouched.
struct ImageRequest {
  int32_t width = 0, height = 0;
  int32_t rowBytes = 0;    // 0: width x 4
  int32_t bufferSize = 0;  // 0: rowBytes x height
  bool withSettings = true;
  std::vector<uint8_t> buffer;
  static constexpr size_t kGuard = 64;
  static constexpr uint8_t kFill = 0xA7;
  bool guardIntact() const;
  // The pixel (B, G, R, A) at x, y counted from the top of a bottom-up buffer.
  const uint8_t* pixel(int x, int y) const;
};

class ImporterHost {
 public:
  ImporterHost() = default;
  ~ImporterHost();
  ImporterHost(const ImporterHost&) = delete;
  ImporterHost& operator=(const ImporterHost&) = delete;

  // Reads the declaration, refuses a plug-in that does not declare an
  // importer, then loads it and finds xImportEntry.
  bool load(const std::string& pluginPath, std::string* error);
  void unload();
  bool loaded() const { return module_ != nullptr; }
  HMODULE module() const { return module_; }
  const PluginDeclaration& declaration() const { return declaration_; }

  int32_t call(int32_t selectorNumber, intptr_t param1, intptr_t param2);

  int32_t init(Record* info);
  int32_t shutdown();
  int32_t getIndFormat(int32_t index, Record* format);
  // imGetPrefs first-time twice: the length, then the defaults in a block.
  int32_t createSettings(HostClip& clip);
  int32_t editSettings(HostClip& clip);
  int32_t describe(HostClip& clip, bool withSettings, ClipDescription* description);
  // Frame position in the clip's time base; the time scale field is the
  // clip's sample size.
  int32_t importImage(HostClip& clip, int32_t position, int32_t timeScale, ImageRequest& request);
  int32_t analysis(HostClip& clip, int32_t bufferSize, std::string* text, int32_t* sizeAnswer);
  int32_t close(HostClip& clip);
  void freeSettings(HostClip& clip);

 private:
  HMODULE module_ = nullptr;
  PluginDeclaration declaration_;
  using Entry = int32_t(__cdecl*)(int32_t, StdParms*, intptr_t, intptr_t);
  Entry entry_ = nullptr;
};

// The directory of the running program, with a closing backslash.
std::string programDirectory();

}  // namespace editor
