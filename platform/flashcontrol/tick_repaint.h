// After a tick the control asks its site to repaint only the part of its
// picture that changed, so that a host redraws and copies no more than that.
#pragma once

#include "flash_control.h"

void repaintTickChanges(FlashControl* control);
