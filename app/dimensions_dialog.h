// The Dimensions dialog: the preview's (and output's) width and height.
#pragma once

#include <windows.h>

struct DimensionsValues {
  UINT currentWidth;  // in: the client size; out after OK: the numbers typed
  UINT currentHeight;
  UINT movieWidth;
  UINT movieHeight;
};

// 1 (OK) or 2 (Cancel).
INT_PTR showDimensionsDialog(HWND owner, DimensionsValues* values);
