// Dialog 300, "AVI Export Setting": edits a copy of the ExportSettings; the
// caller copies it back when the result is IDOK.
#pragma once

#include <windows.h>

#include "export_settings.h"

// frameWidth and frameHeight size the input format offered to the compressor chooser.
INT_PTR showExportSettingsDialog(HWND owner, ExportSettings* settings, int frameWidth, int frameHeight);
