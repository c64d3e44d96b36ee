// The few questions the driver asks inside the program's thread, where the
// system answers them (menus are not readable from another process here):
// a WH_GETMESSAGE hook in mvq-ui-probe.dll answers a posted query message.
#pragma once

#include <windows.h>

namespace ui {

constexpr char kProbeQueryMessage[] = "MvqUiProbeQuery";
constexpr char kProbeHookExport[] = "probeMessageHook";
constexpr char kProbeDllName[] = "mvq-ui-probe.dll";
constexpr UINT kProbeReply = WM_APP + 0x2E1;

// The query's wParam: kind in the high word, item in the low word; lParam: the
// thread to post the reply to (wParam of the reply: the answer).
enum ProbeKind : WORD {
  ProbeMenuCommand = 1,   // item: command id; answer: GetMenuState of the window's menu
  ProbeMenuPosition = 2,  // item: menu bar position; answer: GetMenuState by position
  ProbeDropFile = 3,      // item: a global atom naming the file; answer: 1 when dropped
  ProbePing = 4,          // answer: 1, once the thread takes posted messages again
};

}  // namespace ui
