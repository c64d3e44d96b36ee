// imGetInfo and imCloseFile: a clip's renderer is made on its first
// description and released when the editor closes the clip.
#include <cmath>
#include <cstring>

#include "import_selectors.h"
#include "project_clip_lengths.h"

namespace {

constexpr int32_t kCachedCopies = 30;

// The movie's name as the host gave it: ANSI, in a 256-byte field.
void fileNameOf(const prm::imFileAccessRec* access, char (&name)[sizeof access->filename + 1]) {
  std::memcpy(name, access->filename, sizeof access->filename);
  name[sizeof access->filename] = '\0';
}

// A prepared renderer for the movie, or the importer's result for why not.
int32_t makeRenderer(const char* fileName, IFrameRenderer** out) {
  IFrameRenderer* renderer = nullptr;
  if (FAILED(createFrameRenderer(&renderer))) return prm::imNoRenderer;
  if (FAILED(renderer->lpVtbl->SetCacheOptions(renderer, L"", kCachedCopies))) {
    renderer->lpVtbl->Release(renderer);
    return prm::imOtherErr;
  }
  wchar_t wide[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, fileName, -1, wide, MAX_PATH) ||
      FAILED(renderer->lpVtbl->OpenMovie(renderer, wide))) {
    renderer->lpVtbl->Release(renderer);
    return prm::imBadFile;
  }
  *out = renderer;
  return prm::imNoErr;
}

// The clip's length: its settings', else the project's saved one, else the
// movie's own frame count.
int32_t clipLength(prm::imFileInfoRec* info, const char* fileName, int32_t frameCount) {
  if (info->prefs) {
    auto* settings = reinterpret_cast<ClipSettings*>(info->prefs);
    if (settings->maxLength < 1) settings->maxLength = frameCount;
    return settings->maxLength;
  }
  if (!projectClipRecords()) readProjectClipRecords();
  const int32_t saved = takeSavedClipLength(fileName);
  return saved > 0 ? saved : frameCount;
}

void fillDescription(prm::imFileInfoRec* info, const MovieInfo& movie, int32_t length) {
  info->hasVideo = 1;
  info->hasAudio = 0;
  info->imageWidth = int32_t(movie.width);
  info->imageHeight = int32_t(movie.height);
  info->depth = 32;
  info->subType = prm::kRawSubtype;
  info->fieldType = 0;
  info->alphaType = 4;
  info->matteRed = uint8_t(movie.backgroundColor);
  info->matteBlue = uint8_t(movie.backgroundColor >> 16);
  info->matteGreen = uint8_t(movie.backgroundColor >> 8);
  info->zero27 = info->zero31 = info->zero32 = info->zero174 = info->zero330 = 0;
  if (movie.frameRate == std::floor(movie.frameRate)) {
    info->vidScale = int32_t(movie.frameRate);
    info->vidSampleSize = 1;
    info->vidDuration = length;
  } else {
    info->vidScale = int32_t(movie.frameRate * 100);
    info->vidSampleSize = 100;
    info->vidDuration = int32_t(int64_t(length) * 100);
  }
}

}  // namespace

int32_t describeClip(const prm::imStdParms* std, prm::imFileAccessRec* access, prm::imFileInfoRec* info) {
  if (!access || !info) return prm::imOtherErr;
  if (access->filetype != prm::kSwfFileType) return prm::imBadFile;
  char fileName[sizeof access->filename + 1];
  fileNameOf(access, fileName);

  auto* clip = reinterpret_cast<ClipPrivateData*>(info->privatedata);
  const bool madeHere = clip == nullptr;
  if (madeHere) {
    clip = reinterpret_cast<ClipPrivateData*>(hostNewPtr(std, sizeof(ClipPrivateData)));
    if (!clip) return prm::imMemErr;
    clip->renderer = nullptr;
    const int32_t made = makeRenderer(fileName, &clip->renderer);
    if (made != prm::imNoErr) {
      hostDisposePtr(std, reinterpret_cast<char*>(clip));
      return made;
    }
  } else if (!clip->renderer) {
    return prm::imOtherErr;
  }

  MovieInfo movie = {};
  movie.cbSize = sizeof movie;
  if (FAILED(clip->renderer->lpVtbl->GetMovieInfo(clip->renderer, &movie))) {
    if (madeHere) {
      clip->renderer->lpVtbl->Release(clip->renderer);
      hostDisposePtr(std, reinterpret_cast<char*>(clip));
    }
    return prm::imBadFile;
  }
  fillDescription(info, movie, clipLength(info, fileName, movie.frameCount));
  info->privatedata = reinterpret_cast<char*>(clip);
  return prm::imNoErr;
}

int32_t closeClip(const prm::imStdParms* std, prm::imFileAccessRec* access, ClipPrivateData* clip) {
  if (access) access->fileref = 0;
  if (clip) {
    if (clip->renderer) clip->renderer->lpVtbl->Release(clip->renderer);
    clip->renderer = nullptr;
    hostDisposePtr(std, reinterpret_cast<char*>(clip));
  }
  return prm::imNoErr;
}
