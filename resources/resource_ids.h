// Identifiers of the program's resources, menu commands and dialog controls.
#pragma once

// Strings
#define IDS_SELECT_FLASH_FILE 103
#define IDS_OUT_OF_MEMORY 104
#define IDS_FILE_OPEN_ERROR 110
#define IDS_CREATE_AVI_FILE 111
#define IDS_NO_FRAMES_TO_EXPORT 120
#define IDS_GET_FLASH_CONTROL 145
#define IDS_UPGRADE_FLASH_CONTROL 146

// Menu, accelerators (there is no accelerator table), pictures
#define IDR_MAIN_MENU 203
#define IDR_ACCELERATORS 202
#define IDI_MOVIQUILL 513
#define IDC_HAND_CURSOR 315
#define IDB_FLASH_PLAYER 317
#define IDB_MOVIQUILL_LOGO 525

// Menu commands
#define ID_FILE_OPEN 32769
#define ID_FILE_EXIT 32770
#define ID_FILE_CREATE_AVI 32771
#define ID_OPTIONS_DIMENSIONS 32772
#define ID_HELP_ABOUT 32773
#define ID_OPTIONS_KEEP_ASPECT 32774
#define ID_CONTROL_PLAY 32777
#define ID_CONTROL_STOP 32778
#define ID_HELP_HOME_PAGE 32782
#define ID_HELP_CONTENTS 32784
#define ID_CONTROL_REWIND 32785
#define ID_HELP_FORUM 32788

// The preview host child window
#define IDC_PREVIEW_HOST 102

// Display warning dialog
#define IDD_DISPLAY_WARNING 503
#define IDC_DONT_SHOW_AGAIN 348
#define IDC_WARNING_CONTINUE 349
#define IDC_WARNING_QUIT 350

// About dialog
#define IDD_ABOUT 311
#define IDC_ABOUT_PRODUCT 346
#define IDC_ABOUT_HOME_LINK 397

// Dimensions dialog
#define IDD_DIMENSIONS 304
#define IDC_USE_ORIGINAL_SIZE 201
#define IDC_DIMENSION_WIDTH 305
#define IDC_DIMENSION_HEIGHT 306
