// The Flash Player control as Moviquill binds to it: its class, its dispatch
// interface IShockwaveFlash in the type library's slot order (slots 0-2
// IUnknown, 3-6 IDispatch, 7-61 the methods below), and the host clock
// interfaces the control asks its site for.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <ocmm.h>

#ifdef __cplusplus
extern "C" {
#endif

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
extern const CLSID CLSID_ShockwaveFlash;
// {D27CDB6C-AE6D-11CF-96B8-444553540000}
extern const IID IID_IShockwaveFlash;
// ITimerService, ITimer and ITimerSink are declared by <ocmm.h>; their
// identifiers are defined by this library since the import libraries lack them.

#ifdef __cplusplus
}
#endif

// The interface as the control's type library names it.
// NOLINTBEGIN(readability-identifier-naming)
typedef interface IShockwaveFlash IShockwaveFlash;

#if defined(__cplusplus) && !defined(CINTERFACE)

MIDL_INTERFACE("D27CDB6C-AE6D-11CF-96B8-444553540000")
IShockwaveFlash : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_ReadyState(long* state) = 0;          // 7
  virtual HRESULT STDMETHODCALLTYPE get_TotalFrames(long* frames) = 0;        // 8
  virtual HRESULT STDMETHODCALLTYPE get_Playing(VARIANT_BOOL * playing) = 0;  // 9
  virtual HRESULT STDMETHODCALLTYPE put_Playing(VARIANT_BOOL playing) = 0;    // 10
  virtual HRESULT STDMETHODCALLTYPE get_Quality(int* quality) = 0;            // 11
  virtual HRESULT STDMETHODCALLTYPE put_Quality(int quality) = 0;             // 12
  virtual HRESULT STDMETHODCALLTYPE get_ScaleMode(int* mode) = 0;             // 13
  virtual HRESULT STDMETHODCALLTYPE put_ScaleMode(int mode) = 0;              // 14
  virtual HRESULT STDMETHODCALLTYPE get_AlignMode(int* mode) = 0;             // 15
  virtual HRESULT STDMETHODCALLTYPE put_AlignMode(int mode) = 0;              // 16
  virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(long* color) = 0;     // 17
  virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(long color) = 0;      // 18
  virtual HRESULT STDMETHODCALLTYPE get_Loop(VARIANT_BOOL * loop) = 0;        // 19
  virtual HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) = 0;          // 20
  virtual HRESULT STDMETHODCALLTYPE get_Movie(BSTR * path) = 0;               // 21
  virtual HRESULT STDMETHODCALLTYPE put_Movie(BSTR path) = 0;                 // 22
  virtual HRESULT STDMETHODCALLTYPE get_FrameNum(long* frame) = 0;            // 23
  virtual HRESULT STDMETHODCALLTYPE put_FrameNum(long frame) = 0;             // 24
  virtual HRESULT STDMETHODCALLTYPE SetZoomRect(long left, long top, long right,
                                                long bottom) = 0;                       // 25
  virtual HRESULT STDMETHODCALLTYPE Zoom(int factor) = 0;                               // 26
  virtual HRESULT STDMETHODCALLTYPE Pan(long x, long y, int mode) = 0;                  // 27
  virtual HRESULT STDMETHODCALLTYPE Play() = 0;                                         // 28
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;                                         // 29
  virtual HRESULT STDMETHODCALLTYPE Back() = 0;                                         // 30
  virtual HRESULT STDMETHODCALLTYPE Forward() = 0;                                      // 31
  virtual HRESULT STDMETHODCALLTYPE Rewind() = 0;                                       // 32
  virtual HRESULT STDMETHODCALLTYPE StopPlay() = 0;                                     // 33
  virtual HRESULT STDMETHODCALLTYPE GotoFrame(long frame) = 0;                          // 34
  virtual HRESULT STDMETHODCALLTYPE CurrentFrame(long* frame) = 0;                      // 35
  virtual HRESULT STDMETHODCALLTYPE IsPlaying(VARIANT_BOOL * playing) = 0;              // 36
  virtual HRESULT STDMETHODCALLTYPE PercentLoaded(long* percent) = 0;                   // 37
  virtual HRESULT STDMETHODCALLTYPE FrameLoaded(long frame, VARIANT_BOOL* loaded) = 0;  // 38
  virtual HRESULT STDMETHODCALLTYPE FlashVersion(long* version) = 0;                    // 39
  virtual HRESULT STDMETHODCALLTYPE get_WMode(BSTR * mode) = 0;                         // 40
  virtual HRESULT STDMETHODCALLTYPE put_WMode(BSTR mode) = 0;                           // 41
  virtual HRESULT STDMETHODCALLTYPE get_SAlign(BSTR * align) = 0;                       // 42
  virtual HRESULT STDMETHODCALLTYPE put_SAlign(BSTR align) = 0;                         // 43
  virtual HRESULT STDMETHODCALLTYPE get_Menu(VARIANT_BOOL * menu) = 0;                  // 44
  virtual HRESULT STDMETHODCALLTYPE put_Menu(VARIANT_BOOL menu) = 0;                    // 45
  virtual HRESULT STDMETHODCALLTYPE get_Base(BSTR * base) = 0;                          // 46
  virtual HRESULT STDMETHODCALLTYPE put_Base(BSTR base) = 0;                            // 47
  virtual HRESULT STDMETHODCALLTYPE get_Scale(BSTR * scale) = 0;                        // 48
  virtual HRESULT STDMETHODCALLTYPE put_Scale(BSTR scale) = 0;                          // 49
  virtual HRESULT STDMETHODCALLTYPE get_DeviceFont(VARIANT_BOOL * deviceFont) = 0;      // 50
  virtual HRESULT STDMETHODCALLTYPE put_DeviceFont(VARIANT_BOOL deviceFont) = 0;        // 51
  virtual HRESULT STDMETHODCALLTYPE get_EmbedMovie(VARIANT_BOOL * embed) = 0;           // 52
  virtual HRESULT STDMETHODCALLTYPE put_EmbedMovie(VARIANT_BOOL embed) = 0;             // 53
  virtual HRESULT STDMETHODCALLTYPE get_BGColor(BSTR * color) = 0;                      // 54
  virtual HRESULT STDMETHODCALLTYPE put_BGColor(BSTR color) = 0;                        // 55
  virtual HRESULT STDMETHODCALLTYPE get_Quality2(BSTR * quality) = 0;                   // 56
  virtual HRESULT STDMETHODCALLTYPE put_Quality2(BSTR quality) = 0;                     // 57
  virtual HRESULT STDMETHODCALLTYPE LoadMovie(int layer, BSTR url) = 0;                 // 58
  virtual HRESULT STDMETHODCALLTYPE TGotoFrame(BSTR target, long frame) = 0;            // 59
  virtual HRESULT STDMETHODCALLTYPE TGotoLabel(BSTR target, BSTR label) = 0;            // 60
  virtual HRESULT STDMETHODCALLTYPE TCurrentFrame(BSTR target, long* frame) = 0;        // 61
};
__CRT_UUID_DECL(IShockwaveFlash, 0xd27cdb6c, 0xae6d, 0x11cf, 0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00)

#else  // C form, for objects written with explicit vtables

typedef struct IShockwaveFlashVtbl {
  BEGIN_INTERFACE
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(IShockwaveFlash* This, REFIID riid, void** object);
  ULONG(STDMETHODCALLTYPE* AddRef)(IShockwaveFlash* This);
  ULONG(STDMETHODCALLTYPE* Release)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfoCount)(IShockwaveFlash* This, UINT* count);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfo)(IShockwaveFlash* This, UINT index, LCID lcid, ITypeInfo** info);
  HRESULT(STDMETHODCALLTYPE* GetIDsOfNames)
  (IShockwaveFlash* This, REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
  HRESULT(STDMETHODCALLTYPE* Invoke)
  (IShockwaveFlash* This, DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
   EXCEPINFO* exception, UINT* argError);
  HRESULT(STDMETHODCALLTYPE* get_ReadyState)(IShockwaveFlash* This, long* state);
  HRESULT(STDMETHODCALLTYPE* get_TotalFrames)(IShockwaveFlash* This, long* frames);
  HRESULT(STDMETHODCALLTYPE* get_Playing)(IShockwaveFlash* This, VARIANT_BOOL* playing);
  HRESULT(STDMETHODCALLTYPE* put_Playing)(IShockwaveFlash* This, VARIANT_BOOL playing);
  HRESULT(STDMETHODCALLTYPE* get_Quality)(IShockwaveFlash* This, int* quality);
  HRESULT(STDMETHODCALLTYPE* put_Quality)(IShockwaveFlash* This, int quality);
  HRESULT(STDMETHODCALLTYPE* get_ScaleMode)(IShockwaveFlash* This, int* mode);
  HRESULT(STDMETHODCALLTYPE* put_ScaleMode)(IShockwaveFlash* This, int mode);
  HRESULT(STDMETHODCALLTYPE* get_AlignMode)(IShockwaveFlash* This, int* mode);
  HRESULT(STDMETHODCALLTYPE* put_AlignMode)(IShockwaveFlash* This, int mode);
  HRESULT(STDMETHODCALLTYPE* get_BackgroundColor)(IShockwaveFlash* This, long* color);
  HRESULT(STDMETHODCALLTYPE* put_BackgroundColor)(IShockwaveFlash* This, long color);
  HRESULT(STDMETHODCALLTYPE* get_Loop)(IShockwaveFlash* This, VARIANT_BOOL* loop);
  HRESULT(STDMETHODCALLTYPE* put_Loop)(IShockwaveFlash* This, VARIANT_BOOL loop);
  HRESULT(STDMETHODCALLTYPE* get_Movie)(IShockwaveFlash* This, BSTR* path);
  HRESULT(STDMETHODCALLTYPE* put_Movie)(IShockwaveFlash* This, BSTR path);
  HRESULT(STDMETHODCALLTYPE* get_FrameNum)(IShockwaveFlash* This, long* frame);
  HRESULT(STDMETHODCALLTYPE* put_FrameNum)(IShockwaveFlash* This, long frame);
  HRESULT(STDMETHODCALLTYPE* SetZoomRect)(IShockwaveFlash* This, long left, long top, long right, long bottom);
  HRESULT(STDMETHODCALLTYPE* Zoom)(IShockwaveFlash* This, int factor);
  HRESULT(STDMETHODCALLTYPE* Pan)(IShockwaveFlash* This, long x, long y, int mode);
  HRESULT(STDMETHODCALLTYPE* Play)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* Stop)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* Back)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* Forward)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* Rewind)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* StopPlay)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* GotoFrame)(IShockwaveFlash* This, long frame);
  HRESULT(STDMETHODCALLTYPE* CurrentFrame)(IShockwaveFlash* This, long* frame);
  HRESULT(STDMETHODCALLTYPE* IsPlaying)(IShockwaveFlash* This, VARIANT_BOOL* playing);
  HRESULT(STDMETHODCALLTYPE* PercentLoaded)(IShockwaveFlash* This, long* percent);
  HRESULT(STDMETHODCALLTYPE* FrameLoaded)(IShockwaveFlash* This, long frame, VARIANT_BOOL* loaded);
  HRESULT(STDMETHODCALLTYPE* FlashVersion)(IShockwaveFlash* This, long* version);
  HRESULT(STDMETHODCALLTYPE* get_WMode)(IShockwaveFlash* This, BSTR* mode);
  HRESULT(STDMETHODCALLTYPE* put_WMode)(IShockwaveFlash* This, BSTR mode);
  HRESULT(STDMETHODCALLTYPE* get_SAlign)(IShockwaveFlash* This, BSTR* align);
  HRESULT(STDMETHODCALLTYPE* put_SAlign)(IShockwaveFlash* This, BSTR align);
  HRESULT(STDMETHODCALLTYPE* get_Menu)(IShockwaveFlash* This, VARIANT_BOOL* menu);
  HRESULT(STDMETHODCALLTYPE* put_Menu)(IShockwaveFlash* This, VARIANT_BOOL menu);
  HRESULT(STDMETHODCALLTYPE* get_Base)(IShockwaveFlash* This, BSTR* base);
  HRESULT(STDMETHODCALLTYPE* put_Base)(IShockwaveFlash* This, BSTR base);
  HRESULT(STDMETHODCALLTYPE* get_Scale)(IShockwaveFlash* This, BSTR* scale);
  HRESULT(STDMETHODCALLTYPE* put_Scale)(IShockwaveFlash* This, BSTR scale);
  HRESULT(STDMETHODCALLTYPE* get_DeviceFont)(IShockwaveFlash* This, VARIANT_BOOL* deviceFont);
  HRESULT(STDMETHODCALLTYPE* put_DeviceFont)(IShockwaveFlash* This, VARIANT_BOOL deviceFont);
  HRESULT(STDMETHODCALLTYPE* get_EmbedMovie)(IShockwaveFlash* This, VARIANT_BOOL* embed);
  HRESULT(STDMETHODCALLTYPE* put_EmbedMovie)(IShockwaveFlash* This, VARIANT_BOOL embed);
  HRESULT(STDMETHODCALLTYPE* get_BGColor)(IShockwaveFlash* This, BSTR* color);
  HRESULT(STDMETHODCALLTYPE* put_BGColor)(IShockwaveFlash* This, BSTR color);
  HRESULT(STDMETHODCALLTYPE* get_Quality2)(IShockwaveFlash* This, BSTR* quality);
  HRESULT(STDMETHODCALLTYPE* put_Quality2)(IShockwaveFlash* This, BSTR quality);
  HRESULT(STDMETHODCALLTYPE* LoadMovie)(IShockwaveFlash* This, int layer, BSTR url);
  HRESULT(STDMETHODCALLTYPE* TGotoFrame)(IShockwaveFlash* This, BSTR target, long frame);
  HRESULT(STDMETHODCALLTYPE* TGotoLabel)(IShockwaveFlash* This, BSTR target, BSTR label);
  HRESULT(STDMETHODCALLTYPE* TCurrentFrame)(IShockwaveFlash* This, BSTR target, long* frame);
  END_INTERFACE
} IShockwaveFlashVtbl;

interface IShockwaveFlash {
  CONST_VTBL IShockwaveFlashVtbl* lpVtbl;
};

#ifdef COBJMACROS
#define IShockwaveFlash_QueryInterface(This, riid, object) (This)->lpVtbl->QueryInterface(This, riid, object)
#define IShockwaveFlash_AddRef(This) (This)->lpVtbl->AddRef(This)
#define IShockwaveFlash_Release(This) (This)->lpVtbl->Release(This)
#define IShockwaveFlash_GetTypeInfoCount(This, count) (This)->lpVtbl->GetTypeInfoCount(This, count)
#define IShockwaveFlash_GetTypeInfo(This, index, lcid, info) (This)->lpVtbl->GetTypeInfo(This, index, lcid, info)
#define IShockwaveFlash_GetIDsOfNames(This, riid, names, count, lcid, ids) \
  (This)->lpVtbl->GetIDsOfNames(This, riid, names, count, lcid, ids)
#define IShockwaveFlash_Invoke(This, id, riid, lcid, flags, params, result, exception, argError) \
  (This)->lpVtbl->Invoke(This, id, riid, lcid, flags, params, result, exception, argError)
#define IShockwaveFlash_get_ReadyState(This, state) (This)->lpVtbl->get_ReadyState(This, state)
#define IShockwaveFlash_get_TotalFrames(This, frames) (This)->lpVtbl->get_TotalFrames(This, frames)
#define IShockwaveFlash_get_Playing(This, playing) (This)->lpVtbl->get_Playing(This, playing)
#define IShockwaveFlash_put_Playing(This, playing) (This)->lpVtbl->put_Playing(This, playing)
#define IShockwaveFlash_get_Quality(This, quality) (This)->lpVtbl->get_Quality(This, quality)
#define IShockwaveFlash_put_Quality(This, quality) (This)->lpVtbl->put_Quality(This, quality)
#define IShockwaveFlash_get_ScaleMode(This, mode) (This)->lpVtbl->get_ScaleMode(This, mode)
#define IShockwaveFlash_put_ScaleMode(This, mode) (This)->lpVtbl->put_ScaleMode(This, mode)
#define IShockwaveFlash_get_AlignMode(This, mode) (This)->lpVtbl->get_AlignMode(This, mode)
#define IShockwaveFlash_put_AlignMode(This, mode) (This)->lpVtbl->put_AlignMode(This, mode)
#define IShockwaveFlash_get_BackgroundColor(This, color) (This)->lpVtbl->get_BackgroundColor(This, color)
#define IShockwaveFlash_put_BackgroundColor(This, color) (This)->lpVtbl->put_BackgroundColor(This, color)
#define IShockwaveFlash_get_Loop(This, loop) (This)->lpVtbl->get_Loop(This, loop)
#define IShockwaveFlash_put_Loop(This, loop) (This)->lpVtbl->put_Loop(This, loop)
#define IShockwaveFlash_get_Movie(This, path) (This)->lpVtbl->get_Movie(This, path)
#define IShockwaveFlash_put_Movie(This, path) (This)->lpVtbl->put_Movie(This, path)
#define IShockwaveFlash_get_FrameNum(This, frame) (This)->lpVtbl->get_FrameNum(This, frame)
#define IShockwaveFlash_put_FrameNum(This, frame) (This)->lpVtbl->put_FrameNum(This, frame)
#define IShockwaveFlash_SetZoomRect(This, left, top, right, bottom) \
  (This)->lpVtbl->SetZoomRect(This, left, top, right, bottom)
#define IShockwaveFlash_Zoom(This, factor) (This)->lpVtbl->Zoom(This, factor)
#define IShockwaveFlash_Pan(This, x, y, mode) (This)->lpVtbl->Pan(This, x, y, mode)
#define IShockwaveFlash_Play(This) (This)->lpVtbl->Play(This)
#define IShockwaveFlash_Stop(This) (This)->lpVtbl->Stop(This)
#define IShockwaveFlash_Back(This) (This)->lpVtbl->Back(This)
#define IShockwaveFlash_Forward(This) (This)->lpVtbl->Forward(This)
#define IShockwaveFlash_Rewind(This) (This)->lpVtbl->Rewind(This)
#define IShockwaveFlash_StopPlay(This) (This)->lpVtbl->StopPlay(This)
#define IShockwaveFlash_GotoFrame(This, frame) (This)->lpVtbl->GotoFrame(This, frame)
#define IShockwaveFlash_CurrentFrame(This, frame) (This)->lpVtbl->CurrentFrame(This, frame)
#define IShockwaveFlash_IsPlaying(This, playing) (This)->lpVtbl->IsPlaying(This, playing)
#define IShockwaveFlash_PercentLoaded(This, percent) (This)->lpVtbl->PercentLoaded(This, percent)
#define IShockwaveFlash_FrameLoaded(This, frame, loaded) (This)->lpVtbl->FrameLoaded(This, frame, loaded)
#define IShockwaveFlash_FlashVersion(This, version) (This)->lpVtbl->FlashVersion(This, version)
#define IShockwaveFlash_get_WMode(This, mode) (This)->lpVtbl->get_WMode(This, mode)
#define IShockwaveFlash_put_WMode(This, mode) (This)->lpVtbl->put_WMode(This, mode)
#define IShockwaveFlash_get_SAlign(This, align) (This)->lpVtbl->get_SAlign(This, align)
#define IShockwaveFlash_put_SAlign(This, align) (This)->lpVtbl->put_SAlign(This, align)
#define IShockwaveFlash_get_Menu(This, menu) (This)->lpVtbl->get_Menu(This, menu)
#define IShockwaveFlash_put_Menu(This, menu) (This)->lpVtbl->put_Menu(This, menu)
#define IShockwaveFlash_get_Base(This, base) (This)->lpVtbl->get_Base(This, base)
#define IShockwaveFlash_put_Base(This, base) (This)->lpVtbl->put_Base(This, base)
#define IShockwaveFlash_get_Scale(This, scale) (This)->lpVtbl->get_Scale(This, scale)
#define IShockwaveFlash_put_Scale(This, scale) (This)->lpVtbl->put_Scale(This, scale)
#define IShockwaveFlash_get_DeviceFont(This, deviceFont) (This)->lpVtbl->get_DeviceFont(This, deviceFont)
#define IShockwaveFlash_put_DeviceFont(This, deviceFont) (This)->lpVtbl->put_DeviceFont(This, deviceFont)
#define IShockwaveFlash_get_EmbedMovie(This, embed) (This)->lpVtbl->get_EmbedMovie(This, embed)
#define IShockwaveFlash_put_EmbedMovie(This, embed) (This)->lpVtbl->put_EmbedMovie(This, embed)
#define IShockwaveFlash_get_BGColor(This, color) (This)->lpVtbl->get_BGColor(This, color)
#define IShockwaveFlash_put_BGColor(This, color) (This)->lpVtbl->put_BGColor(This, color)
#define IShockwaveFlash_get_Quality2(This, quality) (This)->lpVtbl->get_Quality2(This, quality)
#define IShockwaveFlash_put_Quality2(This, quality) (This)->lpVtbl->put_Quality2(This, quality)
#define IShockwaveFlash_LoadMovie(This, layer, url) (This)->lpVtbl->LoadMovie(This, layer, url)
#define IShockwaveFlash_TGotoFrame(This, target, frame) (This)->lpVtbl->TGotoFrame(This, target, frame)
#define IShockwaveFlash_TGotoLabel(This, target, label) (This)->lpVtbl->TGotoLabel(This, target, label)
#define IShockwaveFlash_TCurrentFrame(This, target, frame) (This)->lpVtbl->TCurrentFrame(This, target, frame)
#endif

#endif
// NOLINTEND(readability-identifier-naming)
