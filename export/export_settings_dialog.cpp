#include "export_settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "audio_format.h"
#include "export_ids.h"
#include "message_boxes.h"
#include "module_instance.h"
#include "recording_mixer.h"
#include "resource_ids.h"
#include "wav_file.h"

namespace {

constexpr DWORD kWaveOutSourceLine = 0x1008;
constexpr DWORD kVolumeControl = 0x50030001;
constexpr char kVolumeControlClass[] = "Volume Control";

struct DialogState {
  ExportSettings* settings;
  int frameWidth;
  int frameHeight;
  std::unique_ptr<RecordingMixer> mixer;
  int pendingMode;
  int audioChoice;  // the checked audio radio
  HWND startedVolumeControl;
};

void reportOutOfMemory() { errorBox(GetActiveWindow(), IDS_OUT_OF_MEMORY); }

void setNumber(HWND dialog, int id, LONG value) {
  char text[16];
  std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value));
  SetDlgItemTextA(dialog, id, text);
}

LONG readNumber(HWND dialog, int id) {
  char text[32] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return std::strtol(text, nullptr, 10);
}

void enable(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on); }

void showCompressorName(HWND dialog, const COMPVARS* record) {
  if (!record || record->fccHandler == 0) return;
  std::string name = " ";
  if (!record->hic) {
    char text[64] = "";
    LoadStringA(appInstance(), IDS_UNCOMPRESSED, text, sizeof text);
    name += text;
  } else {
    ICINFO info = {};
    info.dwSize = sizeof info;
    if (ICGetInfo(record->hic, &info, sizeof info)) {
      char text[256] = "";
      WideCharToMultiByte(CP_ACP, 0, info.szDescription, -1, text, sizeof text, nullptr, nullptr);
      name += text;
    }
  }
  SetDlgItemTextA(dialog, IDC_COMPRESSOR_NAME, name.c_str());
}

void showWavPath(HWND dialog, const char* path) {
  SetDlgItemTextA(dialog, IDC_WAV_PATH, (std::string(" ") + path).c_str());
}

void applyAudioRule(HWND dialog, const DialogState& state) {
  const bool record = state.audioChoice == IDC_AUDIO_RECORD;
  const bool wav = state.audioChoice == IDC_AUDIO_WAV;
  enable(dialog, IDC_FORMAT_TEXT, record);
  enable(dialog, IDC_FORMAT_SELECT, record);
  enable(dialog, IDC_VOLUME_ADVANCE, record);
  enable(dialog, IDC_RECORD_VOLUME, record && state.mixer);
  enable(dialog, IDC_WAV_PATH, wav);
  enable(dialog, IDC_WAV_BROWSE, wav);
}

void openMixer(HWND dialog, DialogState& state) {
  state.mixer.reset(new (std::nothrow) RecordingMixer(reportOutOfMemory));
  if (!state.mixer) {
    reportOutOfMemory();
    return;
  }
  if (!state.mixer->open(dialog, kWaveOutSourceLine, kVolumeControl)) {
    state.mixer.reset();
    return;
  }
  HWND bar = GetDlgItem(dialog, IDC_RECORD_VOLUME);
  SendMessageA(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, state.mixer->steps()));
  SendMessageA(bar, TBM_SETPOS, TRUE, state.mixer->level());
}

void onInit(HWND dialog, DialogState& state) {
  const ExportSettings& s = *state.settings;
  openMixer(dialog, state);
  setNumber(dialog, IDC_START_FRAME, s.startFrame);
  setNumber(dialog, IDC_END_FRAME, s.endFrame);
  setNumber(dialog, IDC_FRAME_RATE, s.frameRate100);
  state.pendingMode = static_cast<int>(s.sequenceMode);
  CheckDlgButton(dialog, IDC_SKIP_BACKWARD + state.pendingMode, BST_CHECKED);
  CheckDlgButton(dialog, IDC_PLAY_AFTER, s.playAfterCreating ? BST_CHECKED : BST_UNCHECKED);
  showCompressorName(dialog, s.compressor);
  SetDlgItemTextA(dialog, IDC_FORMAT_TEXT, formatText(s.audioFormat).c_str());
  if (s.audioEnabled && s.wavPath[0]) {
    state.audioChoice = IDC_AUDIO_WAV;
    showWavPath(dialog, s.wavPath);
  } else {
    state.audioChoice = s.audioEnabled ? IDC_AUDIO_RECORD : IDC_AUDIO_NONE;
  }
  enable(dialog, IDC_FRAME_RATE, state.audioChoice != IDC_AUDIO_RECORD);
  CheckDlgButton(dialog, state.audioChoice, BST_CHECKED);
  applyAudioRule(dialog, state);
}

void onAudioRadio(HWND dialog, DialogState& state, int id) {
  if (id == state.audioChoice) return;
  state.audioChoice = id;
  ExportSettings& s = *state.settings;
  s.audioEnabled = id != IDC_AUDIO_NONE;
  // While recording the movie plays at its own rate.
  if (id == IDC_AUDIO_RECORD) setNumber(dialog, IDC_FRAME_RATE, s.frameRate100);
  enable(dialog, IDC_FRAME_RATE, id != IDC_AUDIO_RECORD);
  applyAudioRule(dialog, state);
}

void chooseCompressor(HWND dialog, DialogState& state) {
  COMPVARS* record = state.settings->compressor;
  if (!record) return;
  BITMAPINFO input = {};
  input.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  input.bmiHeader.biWidth = state.frameWidth;
  input.bmiHeader.biHeight = state.frameHeight;
  input.bmiHeader.biPlanes = 1;
  input.bmiHeader.biBitCount = 24;
  input.bmiHeader.biCompression = BI_RGB;
  if (ICCompressorChoose(dialog, ICMF_CHOOSE_DATARATE | ICMF_CHOOSE_KEYFRAME, &input, nullptr, record, nullptr))
    showCompressorName(dialog, record);
}

void chooseFormat(HWND dialog, DialogState& state) {
  std::string text;
  if (chooseAudioFormat(dialog, &state.settings->audioFormat, &text))
    SetDlgItemTextA(dialog, IDC_FORMAT_TEXT, text.c_str());
}

void openVolumeControl(DialogState& state) {
  if (HWND shown = FindWindowA(kVolumeControlClass, nullptr)) {
    SetWindowPos(shown, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return;
  }
  const INT_PTR started =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "sndvol32.exe", "/r", nullptr, SW_SHOWNORMAL));
  if (started <= 32) return;
  Sleep(2000);
  state.startedVolumeControl = FindWindowA(kVolumeControlClass, nullptr);
}

void browseWav(HWND dialog, DialogState& state) {
  char title[64] = "";
  LoadStringA(appInstance(), IDS_OPEN_WAV_TITLE, title, sizeof title);
  char name[kWavPathSize];
  std::strncpy(name, state.settings->wavPath, sizeof name - 1);
  name[sizeof name - 1] = '\0';
  OPENFILENAMEA open = {};
  open.lStructSize = sizeof open;
  open.hwndOwner = dialog;
  open.lpstrFilter = "WAV file (*.wav)\0*.wav\0";
  open.lpstrFile = name;
  open.nMaxFile = sizeof name;
  open.lpstrTitle = title;
  open.lpstrDefExt = "wav";
  open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!GetOpenFileNameA(&open)) return;
  std::strcpy(state.settings->wavPath, name);
  showWavPath(dialog, name);
}

void onVolumeScroll(HWND dialog, DialogState& state, WPARAM wParam, HWND from) {
  if (!state.mixer || from != GetDlgItem(dialog, IDC_RECORD_VOLUME)) return;
  const int code = LOWORD(wParam);
  if (code != TB_PAGEUP && code != TB_PAGEDOWN && code != TB_THUMBTRACK && code != TB_ENDTRACK) return;
  state.mixer->setLevel(static_cast<int>(SendMessageA(from, TBM_GETPOS, 0, 0)));
}

void onMixerChange(HWND dialog, DialogState& state, WPARAM wParam, LPARAM lParam) {
  int level = 0;
  if (state.mixer && state.mixer->onControlChange(reinterpret_cast<HMIXER>(wParam), static_cast<DWORD>(lParam), &level))
    SendDlgItemMessageA(dialog, IDC_RECORD_VOLUME, TBM_SETPOS, TRUE, level);
}

// A wedge rising to the right under the volume trackbar.
LRESULT drawWedge(HWND control, HDC dc) {
  RECT r;
  GetClientRect(control, &r);
  InflateRect(&r, -1, -1);
  HPEN grey = CreatePen(PS_SOLID, 1, RGB(0x87, 0x7F, 0x87));
  HGDIOBJ previous = SelectObject(dc, grey);
  MoveToEx(dc, r.left + 1, r.bottom, nullptr);
  LineTo(dc, r.right, r.bottom);
  LineTo(dc, r.right, r.top);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  LineTo(dc, r.left, r.bottom);
  SelectObject(dc, previous);
  DeleteObject(grey);
  return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
}

bool wavFileUsable(HWND dialog, const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errorBox(dialog, IDS_FILE_NOT_EXISTS);
    return false;
  }
  CloseHandle(file);
  WavFile wav;
  if (FAILED(wav.open(path, WavFile::ReadMode))) {
    errorBox(dialog, IDS_INVALID_WAV);
    return false;
  }
  wav.close();
  return true;
}

void onOk(HWND dialog, DialogState& state) {
  ExportSettings& s = *state.settings;
  if (GetWindowTextLengthA(GetDlgItem(dialog, IDC_COMPRESSOR_NAME)) == 0) {
    errorBox(dialog, IDS_NO_COMPRESSOR);
    return;
  }
  if (state.audioChoice == IDC_AUDIO_WAV) {
    if (!wavFileUsable(dialog, s.wavPath)) return;
  } else {
    s.wavPath[0] = '\0';
  }
  const LONG start = readNumber(dialog, IDC_START_FRAME);
  const LONG end = readNumber(dialog, IDC_END_FRAME);
  if (start < 0 || end < 0 || end < start) {
    errorBox(dialog, IDS_FRAME_RANGE_INVALID);
    return;
  }
  const LONG rate = readNumber(dialog, IDC_FRAME_RATE);
  if (rate <= 0) {
    errorBox(dialog, IDS_FRAME_RATE_INVALID);
    return;
  }
  s.startFrame = start;
  s.endFrame = end;
  s.frameRate100 = rate;
  s.sequenceMode = static_cast<SequenceMode>(state.pendingMode);
  s.playAfterCreating = IsDlgButtonChecked(dialog, IDC_PLAY_AFTER) == BST_CHECKED;
  EndDialog(dialog, IDOK);
}

void onCommand(HWND dialog, DialogState& state, int id) {
  switch (id) {
    case IDC_SKIP_BACKWARD:
    case IDC_FRAME_BY_FRAME:
    case IDC_NORMAL: state.pendingMode = id - IDC_SKIP_BACKWARD; break;
    case IDC_AUDIO_NONE:
    case IDC_AUDIO_RECORD:
    case IDC_AUDIO_WAV: onAudioRadio(dialog, state, id); break;
    case IDC_COMPRESSOR_SELECT: chooseCompressor(dialog, state); break;
    case IDC_FORMAT_SELECT: chooseFormat(dialog, state); break;
    case IDC_VOLUME_ADVANCE: openVolumeControl(state); break;
    case IDC_WAV_BROWSE: browseWav(dialog, state); break;
    case IDOK: onOk(dialog, state); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: break;
  }
}

void onDestroy(DialogState& state) {
  if (state.startedVolumeControl && IsWindow(state.startedVolumeControl))
    SendMessageA(state.startedVolumeControl, WM_DESTROY, 0, 0);
  if (state.mixer) state.mixer->close();
  state.mixer.reset();
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    onInit(dialog, *reinterpret_cast<DialogState*>(lParam));
    return TRUE;
  }
  if (!state) return FALSE;
  switch (message) {
    case WM_COMMAND: onCommand(dialog, *state, LOWORD(wParam)); return TRUE;
    case WM_HSCROLL: onVolumeScroll(dialog, *state, wParam, reinterpret_cast<HWND>(lParam)); return TRUE;
    case MM_MIXM_CONTROL_CHANGE: onMixerChange(dialog, *state, wParam, lParam); return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, IDC_VOLUME_WEDGE)) return FALSE;
      return static_cast<INT_PTR>(drawWedge(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_DESTROY: onDestroy(*state); return FALSE;
    default: return FALSE;
  }
}

}  // namespace

INT_PTR showExportSettingsDialog(HWND owner, ExportSettings* settings, int frameWidth, int frameHeight) {
  DialogState state{settings, frameWidth, frameHeight, nullptr, 0, 0, nullptr};
  return DialogBoxParamA(appInstance(), MAKEINTRESOURCEA(IDD_EXPORT_SETTINGS), owner, dialogProc,
                         reinterpret_cast<LPARAM>(&state));
}
