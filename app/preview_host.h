// Building the preview: the "AtlAxWin" child window that holds the Flash
// control, the control itself, and the site through which the control finds
// the program's timer service.
#pragma once

#include <windows.h>
#include <servprov.h>

#include "shockwave_flash.h"

// The PreviewHost child over the given client rectangle of the main window.
HWND createPreviewHost(HWND mainWindow, const RECT& client);

struct PreviewControl {
  IUnknown* object;         // the control as created
  IShockwaveFlash* flash;   // the interface every control operation goes through
};

// Creates the control, attaches it to the host and gives the host the site.
// False (and nothing held) when the control cannot be created or attached.
bool attachPreviewControl(HWND host, IServiceProvider* site, PreviewControl* control);

// A BSTR for the duration of one control call.
class ScopedBstr {
 public:
  explicit ScopedBstr(const char* text);
  ~ScopedBstr();
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};
