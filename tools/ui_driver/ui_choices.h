// The entries of another program's combo box, read and chosen as a user would
// pick them from the drop-down list.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// The combo box's entries in order; empty when the control cannot be asked.
std::vector<std::string> comboItems(HWND dialog, int id);

// Selects the first entry whose text contains part and tells the dialog, as a
// pick from the list does (CBN_SELCHANGE); *chosen is the entry's whole text.
// False when no entry contains part.
bool chooseComboItem(HWND dialog, int id, const std::string& part, std::string* chosen);

}  // namespace ui
