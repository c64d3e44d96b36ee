// Identifiers of the importer plug-in's resources and dialog controls.
#pragma once

// The editor reads these before it loads the plug-in's code.
#define IDR_IMPORTER_TYPE 1000   // IMPT
#define IDR_IMPORTER_PIPL 16000  // PiPL

// Strings
#define IDS_REOPEN_PROJECT 5

// Clip settings dialog
#define IDD_CLIP_SETTINGS 204
#define IDC_FRAME_BY_FRAME 202
#define IDC_NORMAL_SEQUENCE 203
#define IDC_KEEP_ASPECT 204
#define IDC_MAXIMUM_LENGTH 207
#define IDC_SETTINGS_ABOUT 4

// About box
#define IDD_PLUGIN_ABOUT 203
#define IDC_PLUGIN_TITLE 201
#define IDC_PLUGIN_LINK 205
#define IDB_PLUGIN_PLAYER 202
#define IDB_PLUGIN_LOGO 207

// The HyperLink's hand cursor, under the id the shared link code loads.
#define IDC_PLUGIN_HAND_CURSOR 315
