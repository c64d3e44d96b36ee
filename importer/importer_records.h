// The video editor's importer interface as the plug-in sees it: the entry's
// selectors and result codes, the host's standard parameters with its memory
// and window callbacks, and the records passed with the selectors. Only the
// fields the plug-in reads or writes are named; their byte positions are the
// host's and are checked below.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

static_assert(sizeof(void*) == 4, "the host's records hold 32-bit pointers");

namespace prm {

// The host's names.
// NOLINTBEGIN(readability-identifier-naming)

enum Selector : int32_t {
  imInit = 0,
  imShutdown = 1,
  imGetPrefs = 2,
  imGetInfo = 4,
  imImportImage = 5,
  imOpenFile = 7,
  imQuietFile = 8,
  imCloseFile = 9,
  imAnalysis = 12,
  imGetIndFormat = 14,
};

enum Result : int32_t {
  imNoErr = 0,
  imBadFile = 2,           // not this format, or it cannot be opened or described
  imUnsupported = 3,       // selector not supported; imAnalysis without settings
  imMemErr = 4,            // out of memory, or a size or setting refused
  imOtherErr = 5,          // cache folder, rendering, no renderer for the clip
  imNoRenderer = 13,       // the Flash Player control is missing or unusable
  imPrefsChanged = 17,     // imGetPrefs: the settings were changed
  imPrefsUnchanged = 300,  // imGetPrefs: cancelled, or nothing changed
  imBadFormatIndex = 301,  // imGetIndFormat: no format with that index
};

constexpr int32_t kSwfFileType = 0x5357465F;  // 'SWF_'
constexpr int32_t kRawSubtype = 0x52415720;   // 'RAW '

#pragma pack(push, 1)

// The host's callbacks (C calling convention).
struct PlugMemoryFuncs {
  char* (*newPtr)(int32_t size);
  void (*setPtrSize)(char** ptr, int32_t size);
  int32_t (*getPtrSize)(char* ptr);
  void (*disposePtr)(char* ptr);
};

struct PlugWindowFuncs {
  HWND (*getMainWnd)(void);
};

struct PiSuites {
  int32_t piInterfaceVer;
  PlugMemoryFuncs* memFuncs;
  PlugWindowFuncs* windFuncs;
};

struct imStdParms {
  int32_t imInterfaceVer;
  PiSuites* piSuites;
};

// imInit: the plug-in's capabilities, int32 fields counted from 0.
struct imImportInfoRec {
  int32_t hostField0;
  int32_t canOpen;  // 1
  int32_t canSave;
  int32_t canDelete;
  int32_t hostField4;
  int32_t hostField5;
  int32_t canDoContinuousTime;  // 6
  int32_t noFile;
  int32_t addToMenu;
  int32_t hasSetup;
  int32_t dontCache;  // 10
  int32_t setupOnDblClk;
  int32_t keepLoaded;
  int32_t priority;
  int32_t hostField14;
  int32_t field15;
};

struct imIndFormatRec {
  int32_t filetype;
  int32_t flags;
  int32_t third;
  char FormatName[256];
  char FormatShortName[32];
  char PlatformExtension[256];
};

struct imFileAccessRec {
  int32_t hostField0;
  int32_t filetype;  // 4
  char hostBytes8[6];
  char filename[256];  // 14, ANSI
  int32_t fileref;     // 270, cleared by imCloseFile
};

struct imFileInfoRec {
  uint8_t hasVideo;  // 0
  uint8_t hasAudio;
  int32_t imageWidth;  // 2
  int32_t imageHeight;
  uint8_t hostBytes10[2];
  int16_t depth;      // 12
  int32_t subType;    // 14
  uint8_t fieldType;  // 18
  uint8_t hostBytes19[3];
  uint8_t alphaType;  // 22
  uint8_t matteRed;   // 23: red, blue, green in this order
  uint8_t matteBlue;
  uint8_t matteGreen;
  uint8_t hostByte26;
  uint8_t zero27;
  uint8_t hostBytes28[3];
  uint8_t zero31;
  uint8_t zero32;
  uint8_t hostBytes33[129];
  int32_t vidScale;       // 162
  int32_t vidSampleSize;  // 166
  int32_t vidDuration;    // 170
  uint8_t zero174;
  uint8_t hostBytes175[147];
  char* privatedata;  // 322: the clip's ClipPrivateData block
  char* prefs;        // 326: the clip's ClipSettings
  uint8_t zero330;
};

struct imImportImageRec {
  int32_t hostField0;
  int32_t dstWidth;  // 4
  int32_t dstHeight;
  uint8_t hostBytes12[32];
  int32_t rowbytes;  // 44
  char* pix;         // 48
  int32_t pixsize;   // 52
  uint8_t hostBytes56[16];
  int32_t timescale;  // 72
  uint8_t hostBytes76[8];
  int32_t pos;        // 84
  char* privatedata;  // 88
  char* prefs;        // 92
};

struct imGetPrefsRec {
  char* prefs;
  int32_t prefsLength;
  uint8_t firstTime;
};

struct imAnalysisRec {
  char* privatedata;
  char* prefs;
  int32_t buffersize;
  char* buffer;
};

#pragma pack(pop)

static_assert(offsetof(imImportInfoRec, field15) == 60, "imImportInfoRec layout");
static_assert(offsetof(imIndFormatRec, FormatName) == 12 && offsetof(imIndFormatRec, FormatShortName) == 268 &&
                  offsetof(imIndFormatRec, PlatformExtension) == 300,
              "imIndFormatRec layout");
static_assert(offsetof(imFileAccessRec, filetype) == 4 && offsetof(imFileAccessRec, filename) == 14 &&
                  offsetof(imFileAccessRec, fileref) == 270,
              "imFileAccessRec layout");
static_assert(offsetof(imFileInfoRec, imageWidth) == 2 && offsetof(imFileInfoRec, imageHeight) == 6 &&
                  offsetof(imFileInfoRec, depth) == 12 && offsetof(imFileInfoRec, subType) == 14 &&
                  offsetof(imFileInfoRec, fieldType) == 18 && offsetof(imFileInfoRec, alphaType) == 22 &&
                  offsetof(imFileInfoRec, matteRed) == 23 && offsetof(imFileInfoRec, zero27) == 27 &&
                  offsetof(imFileInfoRec, zero31) == 31 && offsetof(imFileInfoRec, zero32) == 32 &&
                  offsetof(imFileInfoRec, vidScale) == 162 && offsetof(imFileInfoRec, vidSampleSize) == 166 &&
                  offsetof(imFileInfoRec, vidDuration) == 170 && offsetof(imFileInfoRec, zero174) == 174 &&
                  offsetof(imFileInfoRec, privatedata) == 322 && offsetof(imFileInfoRec, prefs) == 326 &&
                  offsetof(imFileInfoRec, zero330) == 330,
              "imFileInfoRec layout");
static_assert(offsetof(imImportImageRec, dstWidth) == 4 && offsetof(imImportImageRec, dstHeight) == 8 &&
                  offsetof(imImportImageRec, rowbytes) == 44 && offsetof(imImportImageRec, pix) == 48 &&
                  offsetof(imImportImageRec, pixsize) == 52 && offsetof(imImportImageRec, timescale) == 72 &&
                  offsetof(imImportImageRec, pos) == 84 && offsetof(imImportImageRec, privatedata) == 88 &&
                  offsetof(imImportImageRec, prefs) == 92,
              "imImportImageRec layout");
static_assert(offsetof(imGetPrefsRec, prefsLength) == 4 && offsetof(imGetPrefsRec, firstTime) == 8,
              "imGetPrefsRec layout");
static_assert(offsetof(imAnalysisRec, buffersize) == 8 && offsetof(imAnalysisRec, buffer) == 12,
              "imAnalysisRec layout");

// NOLINTEND(readability-identifier-naming)

}  // namespace prm
