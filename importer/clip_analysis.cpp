// imAnalysis: the clip information text the editor shows.
#include <cstdio>

#include "import_selectors.h"

namespace {

constexpr int32_t kAnalysisBufferSize = 512;

// Appends to a bounded text; what does not fit is cut.
class TextBuffer {
 public:
  TextBuffer(char* text, size_t size) : text_(text), size_(size) { text_[0] = '\0'; }
  template <typename... Args>
  void add(const char* format, Args... args) {
    if (used_ + 1 >= size_) return;
    const int n = std::snprintf(text_ + used_, size_ - used_, format, args...);
    if (n > 0) used_ += size_t(n) < size_ - used_ ? size_t(n) : size_ - used_ - 1;
  }

 private:
  char* text_;
  size_t size_;
  size_t used_ = 0;
};

}  // namespace

int32_t describeClipAnalysis(prm::imAnalysisRec* analysis) {
  if (!analysis || !analysis->prefs) return prm::imUnsupported;
  if (analysis->buffersize < kAnalysisBufferSize) {
    analysis->buffersize = kAnalysisBufferSize;
    return prm::imNoErr;
  }
  if (!analysis->buffer) return prm::imOtherErr;
  const auto* settings = reinterpret_cast<const ClipSettings*>(analysis->prefs);
  const auto* clip = reinterpret_cast<const ClipPrivateData*>(analysis->privatedata);
  TextBuffer text(analysis->buffer, size_t(analysis->buffersize));
  text.add("%s", "\r\n");
  if (clip && clip->renderer) {
    MovieInfo movie = {};
    movie.cbSize = sizeof movie;
    clip->renderer->lpVtbl->GetMovieInfo(clip->renderer, &movie);
    text.add("SWF file version: %d\r\n", movie.version);
    if (movie.version >= 6) text.add("%s", movie.compressed ? "Compressed\r\n" : "Uncompress\r\n");
    text.add("Original length: %d frames in Flash main timeline\r\n", movie.frameCount);
  }
  text.add("Maximum length: %d frames\r\n", settings->maxLength);
  text.add("%s", settings->sequenceMode == kSequenceFrameByFrame ? "Sequence mode: Frame by Frame\r\n"
                                                                 : "Sequence mode: Normal\r\n");
  text.add("%s", settings->keepAspectRatio ? "Keep aspect ratio: Yes\r\n" : "Keep aspect ratio: No\r\n");
  return prm::imNoErr;
}
