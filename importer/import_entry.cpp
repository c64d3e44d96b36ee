// The plug-in's only export: every request of the editor arrives here as a
// selector and is handed to its handler.
#include <cstring>

#include "file_open_interception.h"
#include "import_entry.h"
#include "import_selectors.h"
#include "project_clip_lengths.h"

namespace {

constexpr char kFormatName[] = "Tessaline Moviquill Plug-in";
constexpr char kShortName[] = "Flash SWF File";
constexpr char kExtension[] = "swf";
constexpr int32_t kFormatFlags = 0xE008;

template <size_t N>
void putText(char (&field)[N], const char* text) {
  std::strncpy(field, text, N - 1);
  field[N - 1] = '\0';
}

void setFirstField(intptr_t record, int32_t value) {
  if (record) *reinterpret_cast<int32_t*>(record) = value;
}

}  // namespace

char* hostNewPtr(const prm::imStdParms* std, int32_t size) {
  if (!std || !std->piSuites || !std->piSuites->memFuncs || !std->piSuites->memFuncs->newPtr) return nullptr;
  return std->piSuites->memFuncs->newPtr(size);
}

void hostDisposePtr(const prm::imStdParms* std, char* ptr) {
  if (ptr && std && std->piSuites && std->piSuites->memFuncs && std->piSuites->memFuncs->disposePtr)
    std->piSuites->memFuncs->disposePtr(ptr);
}

HWND hostMainWindow(const prm::imStdParms* std) {
  if (!std || !std->piSuites || !std->piSuites->windFuncs || !std->piSuites->windFuncs->getMainWnd) return nullptr;
  return std->piSuites->windFuncs->getMainWnd();
}

int32_t hostInterfaceVersion(const prm::imStdParms* std) { return std ? std->imInterfaceVer : 0; }

int32_t initImporter(prm::imImportInfoRec* info) {
  if (info) {
    info->canOpen = 1;
    info->canSave = 0;
    info->canDelete = 0;
    info->canDoContinuousTime = 0;
    info->noFile = 0;
    info->addToMenu = 0;
    info->hasSetup = 1;
    info->dontCache = 0;
    info->setupOnDblClk = 1;
    info->keepLoaded = 1;
    info->priority = 0;
    info->field15 = 0;
  }
  installFileOpenInterception();
  return prm::imNoErr;
}

int32_t shutdownImporter() {
  discardProjectClipRecords();
  removeFileOpenInterception();
  return prm::imNoErr;
}

int32_t describeFormat(int32_t index, prm::imIndFormatRec* format) {
  if (index != 0) return prm::imBadFormatIndex;
  if (!format) return prm::imOtherErr;
  format->filetype = prm::kSwfFileType;
  format->flags = kFormatFlags;
  format->third = 0;
  putText(format->FormatName, kFormatName);
  putText(format->FormatShortName, kShortName);
  putText(format->PlatformExtension, kExtension);
  return prm::imNoErr;
}

extern "C" int32_t xImportEntry(int32_t selector, prm::imStdParms* std, intptr_t param1, intptr_t param2) {
  switch (selector) {
    case prm::imInit: return initImporter(reinterpret_cast<prm::imImportInfoRec*>(param1));
    case prm::imShutdown: return shutdownImporter();
    case prm::imGetPrefs: return editClipSettings(std, reinterpret_cast<prm::imGetPrefsRec*>(param2));
    case prm::imGetInfo:
      return describeClip(std, reinterpret_cast<prm::imFileAccessRec*>(param1),
                          reinterpret_cast<prm::imFileInfoRec*>(param2));
    case prm::imImportImage: return deliverFrame(reinterpret_cast<prm::imImportImageRec*>(param2));
    case prm::imOpenFile: setFirstField(param1, 1); return prm::imNoErr;
    case prm::imQuietFile: setFirstField(param1, 0); return prm::imNoErr;
    case prm::imCloseFile:
      return closeClip(std, reinterpret_cast<prm::imFileAccessRec*>(param1),
                       reinterpret_cast<ClipPrivateData*>(param2));
    case prm::imAnalysis: return describeClipAnalysis(reinterpret_cast<prm::imAnalysisRec*>(param2));
    case prm::imGetIndFormat: return describeFormat(int32_t(param1), reinterpret_cast<prm::imIndFormatRec*>(param2));
    default: return prm::imUnsupported;
  }
}
