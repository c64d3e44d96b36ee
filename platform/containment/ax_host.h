// The host object behind each "AtlAxWin" window (internal to the containment
// support): the control's client site and windowless in-place site.
#pragma once

#include <windows.h>
#include <ole2.h>

struct AxHost;

// A host for window, holding one reference that the window owns.
AxHost* axHostCreate(HWND window);
// The window is going away: the control is closed and released, the host
// forgets the window and the window's reference is dropped.
void axHostWindowDestroyed(AxHost* host);

// The host's identity (no reference added).
IUnknown* axHostUnknown(AxHost* host);
// The attached control's IUnknown, or null (no reference added).
IUnknown* axHostControl(AxHost* host);

// The window's client rectangle changed: the control follows it.
void axHostClientResized(AxHost* host);
// Draws the control at its in-place rectangle into dc.
void axHostDraw(AxHost* host, HDC dc);
