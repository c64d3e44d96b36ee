// The selector handlers behind xImportEntry, one group per file, and the
// host callbacks they reach through the standard parameters.
#pragma once

#include "clip_settings.h"
#include "importer_records.h"

// xImportEntry's selectors (import_entry.cpp).
int32_t initImporter(prm::imImportInfoRec* info);
int32_t shutdownImporter();
int32_t describeFormat(int32_t index, prm::imIndFormatRec* format);

// Clip description and release (clip_description.cpp).
int32_t describeClip(const prm::imStdParms* std, prm::imFileAccessRec* access, prm::imFileInfoRec* info);
int32_t closeClip(const prm::imStdParms* std, prm::imFileAccessRec* access, ClipPrivateData* clip);

// Frame delivery (frame_delivery.cpp).
int32_t deliverFrame(prm::imImportImageRec* image);

// Settings dialog and information text (clip_settings_dialog.cpp, clip_analysis.cpp).
int32_t editClipSettings(const prm::imStdParms* std, prm::imGetPrefsRec* prefs);
int32_t describeClipAnalysis(prm::imAnalysisRec* analysis);

// The host's callbacks; null or a no-op when the host gave none.
char* hostNewPtr(const prm::imStdParms* std, int32_t size);
void hostDisposePtr(const prm::imStdParms* std, char* ptr);
HWND hostMainWindow(const prm::imStdParms* std);
int32_t hostInterfaceVersion(const prm::imStdParms* std);
