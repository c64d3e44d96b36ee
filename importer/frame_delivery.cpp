// imImportImage: one frame with its alpha channel, copied into the editor's
// buffer.
#include <cstring>

#include "import_selectors.h"

namespace {

// The frame the editor's position stands for.
int32_t frameAt(const prm::imImportImageRec* image) {
  const int32_t position = image->pos < 0 ? 0 : image->pos;
  return image->timescale == 100 ? position / 100 : position;
}

// A frame at least the buffer's size fills it as one block; a smaller one is
// laid out row by row at the host's row pitch, only as far as the buffer goes.
void copyFrame(const BITMAPINFOHEADER* header, const BYTE* bits, prm::imImportImageRec* image) {
  if (!image->pix || image->pixsize <= 0) return;
  const size_t bufferSize = size_t(image->pixsize);
  if (header->biSizeImage >= bufferSize) {
    std::memcpy(image->pix, bits, bufferSize);
    return;
  }
  const size_t rowLength = size_t(header->biBitCount) * size_t(header->biWidth) / 8;
  const LONG rows = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  if (image->rowbytes < 0) return;
  const size_t pitch = size_t(image->rowbytes);
  for (LONG row = 0; row < rows; ++row) {
    const size_t at = size_t(row) * pitch;
    if (at > bufferSize || rowLength > bufferSize - at) break;
    std::memcpy(image->pix + at, bits + size_t(row) * rowLength, rowLength);
  }
}

}  // namespace

int32_t deliverFrame(prm::imImportImageRec* image) {
  if (!image) return prm::imOtherErr;
  auto* clip = reinterpret_cast<ClipPrivateData*>(image->privatedata);
  if (!clip || !clip->renderer) return prm::imOtherErr;
  IFrameRenderer* renderer = clip->renderer;
  if (FAILED(renderer->lpVtbl->SetFrameSize(renderer, image->dstWidth, image->dstHeight))) return prm::imMemErr;
  if (image->prefs) {
    const auto* settings = reinterpret_cast<const ClipSettings*>(image->prefs);
    if (FAILED(renderer->lpVtbl->SetSequenceMode(renderer, settings->sequenceMode)) ||
        FAILED(renderer->lpVtbl->SetKeepAspect(renderer, settings->keepAspectRatio)))
      return prm::imMemErr;
  }
  const BITMAPINFOHEADER* header = nullptr;
  const BYTE* bits = nullptr;
  if (FAILED(renderer->lpVtbl->RenderFrameWithAlpha(renderer, frameAt(image), &header, &bits))) return prm::imOtherErr;
  copyFrame(header, bits, image);
  return prm::imNoErr;
}
