#include "importer_host.h"

#include "editor_module.h"

namespace editor {

namespace {

constexpr uint8_t kRecordFill = 0xA5;  // bytes the plug-in has no business changing

}  // namespace

HostClip::HostClip(const std::string& moviePath, int32_t type)
    : path(moviePath), fileType(type), access(fileAccess::kSize, kRecordFill), info(fileInfo::kSize, kRecordFill) {}

bool ImageRequest::guardIntact() const {
  if (buffer.size() < kGuard) return false;
  for (size_t i = buffer.size() - kGuard; i < buffer.size(); ++i)
    if (buffer[i] != kFill) return false;
  return true;
}

const uint8_t* ImageRequest::pixel(int x, int y) const {
  const int32_t pitch = rowBytes ? rowBytes : width * 4;
  return &buffer.at(size_t(height - 1 - y) * size_t(pitch) + size_t(x) * 4);
}

std::string programDirectory() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path, n);
  return text.substr(0, text.find_last_of('\\') + 1);
}

ImporterHost::~ImporterHost() { unload(); }

bool ImporterHost::load(const std::string& pluginPath, std::string* error) {
  unload();
  // The editor's own module is there before any plug-in.
  editorModule();
  if (!readPluginDeclaration(pluginPath, &declaration_, error)) return false;
  const PiplProperty* kind = declaration_.property(uint32_t(fourCC('k', 'i', 'n', 'd')));
  if (!declaration_.hasImpt || !kind || kind->value() != uint32_t(fourCC('I', 'M', 'P', 'T'))) {
    *error = "not an importer: no IMPT resource or PiPL kind";
    return false;
  }
  module_ = LoadLibraryA(pluginPath.c_str());
  if (!module_) {
    *error = "loading " + pluginPath + " failed (" + std::to_string(GetLastError()) + ")";
    return false;
  }
  entry_ = reinterpret_cast<Entry>(GetProcAddress(module_, "xImportEntry"));
  if (!entry_) {
    *error = "no xImportEntry in " + pluginPath;
    unload();
    return false;
  }
  return true;
}

void ImporterHost::unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  entry_ = nullptr;
}

int32_t ImporterHost::call(int32_t selectorNumber, intptr_t param1, intptr_t param2) {
  return entry_ ? entry_(selectorNumber, standardParameters(), param1, param2) : -1;
}

int32_t ImporterHost::init(Record* info) { return call(selector::kInit, reinterpret_cast<intptr_t>(info->data()), 0); }

int32_t ImporterHost::shutdown() { return call(selector::kShutdown, 0, 0); }

int32_t ImporterHost::getIndFormat(int32_t index, Record* format) {
  return call(selector::kGetIndFormat, index, reinterpret_cast<intptr_t>(format->data()));
}

int32_t ImporterHost::createSettings(HostClip& clip) {
  Record prefs(getPrefs::kSize);
  prefs.setByte(getPrefs::kFirstTime, 1);
  int32_t result = call(selector::kGetPrefs, 0, reinterpret_cast<intptr_t>(prefs.data()));
  if (result != 0) return result;
  freeSettings(clip);
  clip.settingsLength = prefs.int32At(getPrefs::kPrefsLength);
  if (clip.settingsLength <= 0) return -1;
  clip.settings = standardParameters()->piSuites->memFuncs->newPtr(clip.settingsLength);
  if (!clip.settings) return -1;
  std::memset(clip.settings, 0xCD, size_t(clip.settingsLength));
  prefs.setPointer(getPrefs::kPrefs, clip.settings);
  return call(selector::kGetPrefs, 0, reinterpret_cast<intptr_t>(prefs.data()));
}

int32_t ImporterHost::editSettings(HostClip& clip) {
  Record prefs(getPrefs::kSize);
  prefs.setPointer(getPrefs::kPrefs, clip.settings);
  prefs.setInt32(getPrefs::kPrefsLength, clip.settingsLength);
  return call(selector::kGetPrefs, 0, reinterpret_cast<intptr_t>(prefs.data()));
}

int32_t ImporterHost::describe(HostClip& clip, bool withSettings, ClipDescription* d) {
  clip.access.setInt32(fileAccess::kFileType, clip.fileType);
  clip.access.setText(fileAccess::kFileName, fileAccess::kFileNameSize, clip.path);
  clip.info.setPointer(fileInfo::kPrivateData, clip.privateData);
  clip.info.setPointer(fileInfo::kPrefs, withSettings ? clip.settings : nullptr);
  const int32_t result = call(selector::kGetInfo, reinterpret_cast<intptr_t>(clip.access.data()),
                              reinterpret_cast<intptr_t>(clip.info.data()));
  if (result != 0) return result;
  clip.privateData = static_cast<char*>(clip.info.pointerAt(fileInfo::kPrivateData));
  if (d) {
    const Record& r = clip.info;
    d->hasVideo = r.byte(fileInfo::kHasVideo);
    d->hasAudio = r.byte(fileInfo::kHasAudio);
    d->width = r.int32At(fileInfo::kWidth);
    d->height = r.int32At(fileInfo::kHeight);
    d->depth = r.int16At(fileInfo::kDepth);
    d->subType = r.int32At(fileInfo::kSubType);
    d->fieldType = r.byte(fileInfo::kFieldType);
    d->alphaType = r.byte(fileInfo::kAlphaType);
    d->matteRed = r.byte(fileInfo::kMatteRed);
    d->matteBlue = r.byte(fileInfo::kMatteBlue);
    d->matteGreen = r.byte(fileInfo::kMatteGreen);
    d->vidScale = r.int32At(fileInfo::kVidScale);
    d->vidSampleSize = r.int32At(fileInfo::kVidSampleSize);
    d->vidDuration = r.int32At(fileInfo::kVidDuration);
  }
  return 0;
}

int32_t ImporterHost::importImage(HostClip& clip, int32_t position, int32_t timeScale, ImageRequest& request) {
  const int32_t rowBytes = request.rowBytes ? request.rowBytes : request.width * 4;
  const int32_t size = request.bufferSize ? request.bufferSize : rowBytes * request.height;
  request.buffer.assign(size_t(size) + ImageRequest::kGuard, ImageRequest::kFill);
  Record image(importImage::kSize, kRecordFill);
  image.setInt32(importImage::kWidth, request.width);
  image.setInt32(importImage::kHeight, request.height);
  image.setInt32(importImage::kRowBytes, rowBytes);
  image.setPointer(importImage::kPixels, request.buffer.data());
  image.setInt32(importImage::kPixelsSize, size);
  image.setInt32(importImage::kTimeScale, timeScale);
  image.setInt32(importImage::kPosition, position);
  image.setPointer(importImage::kPrivateData, clip.privateData);
  image.setPointer(importImage::kPrefs, request.withSettings ? clip.settings : nullptr);
  return call(selector::kImportImage, 0, reinterpret_cast<intptr_t>(image.data()));
}

int32_t ImporterHost::analysis(HostClip& clip, int32_t bufferSize, std::string* text, int32_t* sizeAnswer) {
  std::vector<char> buffer(size_t(bufferSize > 0 ? bufferSize : 0) + 1, '\x7F');
  Record record(analysis::kSize);
  record.setPointer(analysis::kPrivateData, clip.privateData);
  record.setPointer(analysis::kPrefs, clip.settings);
  record.setInt32(analysis::kBufferSize, bufferSize);
  record.setPointer(analysis::kBuffer, buffer.data());
  const int32_t result = call(selector::kAnalysis, 0, reinterpret_cast<intptr_t>(record.data()));
  if (sizeAnswer) *sizeAnswer = record.int32At(analysis::kBufferSize);
  // Untouched buffers hold the fill byte, not text.
  if (text) text->assign(buffer.data(), strnlen(buffer.data(), buffer.size() - 1));
  return result;
}

int32_t ImporterHost::close(HostClip& clip) {
  clip.access.setInt32(fileAccess::kFileRef, 0x1234);
  const int32_t result = call(selector::kCloseFile, reinterpret_cast<intptr_t>(clip.access.data()),
                              reinterpret_cast<intptr_t>(clip.privateData));
  clip.privateData = nullptr;
  return result;
}

void ImporterHost::freeSettings(HostClip& clip) {
  if (clip.settings) standardParameters()->piSuites->memFuncs->disposePtr(clip.settings);
  clip.settings = nullptr;
  clip.settingsLength = 0;
}

}  // namespace editor
