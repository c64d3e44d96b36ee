#include "tick_repaint.h"

namespace {

HRESULT invalidateChanges(FlashControl* control) {
  IOleInPlaceSiteWindowless* site = control->inPlaceSite;
  if (!site) return S_OK;
  const bool opaque = control->windowMode != WindowMode::Transparent;
  const swf::ScaleMode mode = swf::ScaleMode(control->scaleMode);
  RECT changed = control->painter.changedArea(*control->player, control->position, mode, opaque);
  if (!IsRectEmpty(&changed)) site->lpVtbl->InvalidateRect(site, &changed, !opaque);
  return S_OK;
}

}  // namespace

void repaintTickChanges(FlashControl* control) {
  // Without a picture to compare with (memory ran out), all of it.
  if (FAILED(guarded([control] { return invalidateChanges(control); }))) requestRepaint(control);
}
