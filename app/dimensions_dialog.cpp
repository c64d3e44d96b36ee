#include "dimensions_dialog.h"

#include "module_instance.h"
#include "resource_ids.h"

namespace {

constexpr char kValuesProperty[] = "MvqDimensions";

// The movie size while "Use original doc size" is checked, else the size the
// dialog was opened with.
void updateEdits(HWND dialog, const DimensionsValues& values) {
  const bool original = IsDlgButtonChecked(dialog, IDC_USE_ORIGINAL_SIZE) == BST_CHECKED;
  SetDlgItemInt(dialog, IDC_DIMENSION_WIDTH, original ? values.movieWidth : values.currentWidth, FALSE);
  SetDlgItemInt(dialog, IDC_DIMENSION_HEIGHT, original ? values.movieHeight : values.currentHeight, FALSE);
  EnableWindow(GetDlgItem(dialog, IDC_DIMENSION_WIDTH), !original);
  EnableWindow(GetDlgItem(dialog, IDC_DIMENSION_HEIGHT), !original);
}

INT_PTR CALLBACK dimensionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* values = static_cast<DimensionsValues*>(GetPropA(dialog, kValuesProperty));
  switch (message) {
    case WM_INITDIALOG:
      values = reinterpret_cast<DimensionsValues*>(lParam);
      SetPropA(dialog, kValuesProperty, values);
      CheckDlgButton(dialog, IDC_USE_ORIGINAL_SIZE,
                     values->currentWidth == values->movieWidth && values->currentHeight == values->movieHeight
                         ? BST_CHECKED
                         : BST_UNCHECKED);
      updateEdits(dialog, *values);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_USE_ORIGINAL_SIZE:
          if (HIWORD(wParam) == BN_CLICKED) updateEdits(dialog, *values);
          return TRUE;
        case IDOK:
          // Read whether enabled or not; text that is no number reads as 0.
          values->currentWidth = GetDlgItemInt(dialog, IDC_DIMENSION_WIDTH, nullptr, FALSE);
          values->currentHeight = GetDlgItemInt(dialog, IDC_DIMENSION_HEIGHT, nullptr, FALSE);
          RemovePropA(dialog, kValuesProperty);
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          RemovePropA(dialog, kValuesProperty);
          EndDialog(dialog, 2);
          return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

}  // namespace

INT_PTR showDimensionsDialog(HWND owner, DimensionsValues* values) {
  return DialogBoxParamA(appInstance(), MAKEINTRESOURCEA(IDD_DIMENSIONS), owner, dimensionsProc,
                         reinterpret_cast<LPARAM>(values));
}
