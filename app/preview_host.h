// Building the preview: the "AtlAxWin" child window that holds the Flash
// control, the control itself, and the site through which the control finds
// the program's timer service.
#pragma once

#include <windows.h>
#include <servprov.h>

#include "com_reference.h"
#include "shockwave_flash.h"

// The PreviewHost child over the given client rectangle of the main window.
HWND createPreviewHost(HWND mainWindow, const RECT& client);

struct PreviewControl {
  ComReference<IUnknown> object;        // the control as created
  ComReference<IShockwaveFlash> flash;  // the interface every control operation goes through
};

// Creates the control, attaches it to the host and gives the host the site.
// False (and nothing held) when the control cannot be created or attached.
bool attachPreviewControl(HWND host, IServiceProvider* site, PreviewControl* control);
