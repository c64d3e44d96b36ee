// The slots of IShockwaveFlash as the control's type library numbers them.
#pragma once

// Tables of slot numbers, laid out by hand.
// clang-format off
#define SHOCKWAVE_FLASH_OWN_SLOTS(X)                                               \
  X(get_ReadyState, 7) X(get_TotalFrames, 8) X(get_Playing, 9) X(put_Playing, 10)  \
  X(get_Quality, 11) X(put_Quality, 12) X(get_ScaleMode, 13) X(put_ScaleMode, 14)  \
  X(get_AlignMode, 15) X(put_AlignMode, 16) X(get_BackgroundColor, 17)             \
  X(put_BackgroundColor, 18) X(get_Loop, 19) X(put_Loop, 20) X(get_Movie, 21)      \
  X(put_Movie, 22) X(get_FrameNum, 23) X(put_FrameNum, 24) X(SetZoomRect, 25)      \
  X(Zoom, 26) X(Pan, 27) X(Play, 28) X(Stop, 29) X(Back, 30) X(Forward, 31)        \
  X(Rewind, 32) X(StopPlay, 33) X(GotoFrame, 34) X(CurrentFrame, 35)               \
  X(IsPlaying, 36) X(PercentLoaded, 37) X(FrameLoaded, 38) X(FlashVersion, 39)     \
  X(get_WMode, 40) X(put_WMode, 41) X(get_SAlign, 42) X(put_SAlign, 43)            \
  X(get_Menu, 44) X(put_Menu, 45) X(get_Base, 46) X(put_Base, 47) X(get_Scale, 48) \
  X(put_Scale, 49) X(get_DeviceFont, 50) X(put_DeviceFont, 51)                     \
  X(get_EmbedMovie, 52) X(put_EmbedMovie, 53) X(get_BGColor, 54)                   \
  X(put_BGColor, 55) X(get_Quality2, 56) X(put_Quality2, 57) X(LoadMovie, 58)      \
  X(TGotoFrame, 59) X(TGotoLabel, 60) X(TCurrentFrame, 61)

#define SHOCKWAVE_FLASH_BASE_SLOTS(X)                                     \
  X(QueryInterface, 0) X(AddRef, 1) X(Release, 2) X(GetTypeInfoCount, 3) \
  X(GetTypeInfo, 4) X(GetIDsOfNames, 5) X(Invoke, 6)
// clang-format on
