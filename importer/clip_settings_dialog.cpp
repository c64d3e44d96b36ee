// imGetPrefs: the settings dialog (204) works on a copy of the clip's
// settings and hands it back only when the user confirms a change.
#include "import_selectors.h"
#include "importer_ids.h"
#include "module_instance.h"
#include "plugin_about_box.h"

namespace {

constexpr char kMessageCaption[] = "Tessaline Moviquill Plug-in for Adobe Premiere Pro";
constexpr char kLengthMessage[] = "The clip length must between 1 ~ 8000000 frames";

struct SettingsDialog {
  ClipSettings values;
  HWND owner;
  bool closing;  // the edit box losing the focus on the way out is no edit
};

SettingsDialog* stateOf(HWND dialog) { return reinterpret_cast<SettingsDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void centreOverOwner(HWND dialog, HWND owner) {
  RECT area, own;
  if (!owner || !GetWindowRect(owner, &area)) GetWindowRect(GetDesktopWindow(), &area);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
}

void initSettings(HWND dialog, SettingsDialog* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  centreOverOwner(dialog, state->owner);
  CheckDlgButton(dialog, 201 + state->values.sequenceMode, BST_CHECKED);
  CheckDlgButton(dialog, IDC_KEEP_ASPECT, state->values.keepAspectRatio ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemInt(dialog, IDC_MAXIMUM_LENGTH, UINT(state->values.maxLength), TRUE);
}

// The edit box's value when it is a valid length, else 0.
UINT enteredLength(HWND dialog) {
  BOOL read = FALSE;
  const UINT value = GetDlgItemInt(dialog, IDC_MAXIMUM_LENGTH, &read, FALSE);
  return read && isValidClipLength(value) ? value : 0;
}

void checkEnteredLength(HWND dialog, SettingsDialog* state) {
  if (const UINT length = enteredLength(dialog)) {
    state->values.maxLength = int32_t(length);
    return;
  }
  MessageBoxA(dialog, kLengthMessage, kMessageCaption, MB_ICONERROR);
  SetDlgItemInt(dialog, IDC_MAXIMUM_LENGTH, UINT(state->values.maxLength), TRUE);
  HWND edit = GetDlgItem(dialog, IDC_MAXIMUM_LENGTH);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

void confirm(HWND dialog, SettingsDialog* state) {
  const UINT length = enteredLength(dialog);
  if (!length) {
    // Leaving the edit box checks it and says what is wrong.
    SetFocus(GetDlgItem(dialog, IDOK));
    return;
  }
  state->values.maxLength = int32_t(length);
  state->values.keepAspectRatio = IsDlgButtonChecked(dialog, IDC_KEEP_ASPECT) == BST_CHECKED ? 1 : 0;
  state->closing = true;
  EndDialog(dialog, IDOK);
}

void command(HWND dialog, SettingsDialog* state, int id, int code) {
  switch (id) {
    case IDC_FRAME_BY_FRAME:
    case IDC_NORMAL_SEQUENCE:
      if (code == BN_CLICKED) state->values.sequenceMode = id - 201;
      break;
    case IDC_MAXIMUM_LENGTH:
      if (code == EN_KILLFOCUS && !state->closing) checkEnteredLength(dialog, state);
      break;
    case IDOK: confirm(dialog, state); break;
    case IDCANCEL:
      state->closing = true;
      EndDialog(dialog, IDCANCEL);
      break;
    case IDC_SETTINGS_ABOUT: showPluginAbout(dialog); break;
    default: break;
  }
}

INT_PTR CALLBACK settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: initSettings(dialog, reinterpret_cast<SettingsDialog*>(lParam)); return TRUE;
    case WM_COMMAND:
      if (SettingsDialog* state = stateOf(dialog)) command(dialog, state, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    default: return FALSE;
  }
}

bool sameSettings(const ClipSettings& a, const ClipSettings& b) {
  return a.maxLength == b.maxLength && a.sequenceMode == b.sequenceMode && a.keepAspectRatio == b.keepAspectRatio;
}

void tellToReopenProject(HWND owner) {
  char text[256];
  if (LoadStringA(appInstance(), IDS_REOPEN_PROJECT, text, sizeof text) > 0)
    MessageBoxA(owner, text, kMessageCaption, MB_OK);
}

}  // namespace

int32_t editClipSettings(const prm::imStdParms* std, prm::imGetPrefsRec* prefs) {
  if (!prefs) return prm::imOtherErr;
  auto* stored = reinterpret_cast<ClipSettings*>(prefs->prefs);
  if (prefs->firstTime) {
    prefs->prefsLength = sizeof(ClipSettings);
    if (stored) *stored = kDefaultClipSettings;
    return prm::imNoErr;
  }
  if (!stored) return prm::imPrefsUnchanged;
  SettingsDialog state = {*stored, hostMainWindow(std), false};
  const INT_PTR ended = DialogBoxParamA(appInstance(), MAKEINTRESOURCEA(IDD_CLIP_SETTINGS), state.owner, settingsProc,
                                        reinterpret_cast<LPARAM>(&state));
  if (ended != IDOK) return prm::imPrefsUnchanged;
  if (hostInterfaceVersion(std) >= 4 && state.values.maxLength != stored->maxLength) tellToReopenProject(state.owner);
  if (sameSettings(state.values, *stored)) return prm::imPrefsUnchanged;
  *stored = state.values;
  return prm::imPrefsChanged;
}
