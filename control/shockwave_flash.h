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

typedef interface IShockwaveFlash IShockwaveFlash;

#if defined(__cplusplus) && !defined(CINTERFACE)

MIDL_INTERFACE("D27CDB6C-AE6D-11CF-96B8-444553540000")
IShockwaveFlash : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_ReadyState(long* state) = 0;        // 7
  virtual HRESULT STDMETHODCALLTYPE get_TotalFrames(long* frames) = 0;      // 8
  virtual HRESULT STDMETHODCALLTYPE get_Playing(VARIANT_BOOL* playing) = 0; // 9
  virtual HRESULT STDMETHODCALLTYPE put_Playing(VARIANT_BOOL playing) = 0;  // 10
  virtual HRESULT STDMETHODCALLTYPE get_Quality(int* quality) = 0;          // 11
  virtual HRESULT STDMETHODCALLTYPE put_Quality(int quality) = 0;           // 12
  virtual HRESULT STDMETHODCALLTYPE get_ScaleMode(int* mode) = 0;           // 13
  virtual HRESULT STDMETHODCALLTYPE put_ScaleMode(int mode) = 0;            // 14
  virtual HRESULT STDMETHODCALLTYPE get_AlignMode(int* mode) = 0;           // 15
  virtual HRESULT STDMETHODCALLTYPE put_AlignMode(int mode) = 0;            // 16
  virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(long* color) = 0;   // 17
  virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(long color) = 0;    // 18
  virtual HRESULT STDMETHODCALLTYPE get_Loop(VARIANT_BOOL* loop) = 0;       // 19
  virtual HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) = 0;        // 20
  virtual HRESULT STDMETHODCALLTYPE get_Movie(BSTR* path) = 0;              // 21
  virtual HRESULT STDMETHODCALLTYPE put_Movie(BSTR path) = 0;               // 22
  virtual HRESULT STDMETHODCALLTYPE get_FrameNum(long* frame) = 0;          // 23
  virtual HRESULT STDMETHODCALLTYPE put_FrameNum(long frame) = 0;           // 24
  virtual HRESULT STDMETHODCALLTYPE SetZoomRect(long left, long top, long right,
                                                long bottom) = 0;           // 25
  virtual HRESULT STDMETHODCALLTYPE Zoom(int factor) = 0;                   // 26
  virtual HRESULT STDMETHODCALLTYPE Pan(long x, long y, int mode) = 0;      // 27
  virtual HRESULT STDMETHODCALLTYPE Play() = 0;                             // 28
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;                             // 29
  virtual HRESULT STDMETHODCALLTYPE Back() = 0;                             // 30
  virtual HRESULT STDMETHODCALLTYPE Forward() = 0;                          // 31
  virtual HRESULT STDMETHODCALLTYPE Rewind() = 0;                           // 32
  virtual HRESULT STDMETHODCALLTYPE StopPlay() = 0;                         // 33
  virtual HRESULT STDMETHODCALLTYPE GotoFrame(long frame) = 0;              // 34
  virtual HRESULT STDMETHODCALLTYPE CurrentFrame(long* frame) = 0;          // 35
  virtual HRESULT STDMETHODCALLTYPE IsPlaying(VARIANT_BOOL* playing) = 0;   // 36
  virtual HRESULT STDMETHODCALLTYPE PercentLoaded(long* percent) = 0;       // 37
  virtual HRESULT STDMETHODCALLTYPE FrameLoaded(long frame, VARIANT_BOOL* loaded) = 0;  // 38
  virtual HRESULT STDMETHODCALLTYPE FlashVersion(long* version) = 0;        // 39
  virtual HRESULT STDMETHODCALLTYPE get_WMode(BSTR* mode) = 0;              // 40
  virtual HRESULT STDMETHODCALLTYPE put_WMode(BSTR mode) = 0;               // 41
  virtual HRESULT STDMETHODCALLTYPE get_SAlign(BSTR* align) = 0;            // 42
  virtual HRESULT STDMETHODCALLTYPE put_SAlign(BSTR align) = 0;             // 43
  virtual HRESULT STDMETHODCALLTYPE get_Menu(VARIANT_BOOL* menu) = 0;       // 44
  virtual HRESULT STDMETHODCALLTYPE put_Menu(VARIANT_BOOL menu) = 0;        // 45
  virtual HRESULT STDMETHODCALLTYPE get_Base(BSTR* base) = 0;               // 46
  virtual HRESULT STDMETHODCALLTYPE put_Base(BSTR base) = 0;                // 47
  virtual HRESULT STDMETHODCALLTYPE get_Scale(BSTR* scale) = 0;             // 48
  virtual HRESULT STDMETHODCALLTYPE put_Scale(BSTR scale) = 0;              // 49
  virtual HRESULT STDMETHODCALLTYPE get_DeviceFont(VARIANT_BOOL* deviceFont) = 0;  // 50
  virtual HRESULT STDMETHODCALLTYPE put_DeviceFont(VARIANT_BOOL deviceFont) = 0;   // 51
  virtual HRESULT STDMETHODCALLTYPE get_EmbedMovie(VARIANT_BOOL* embed) = 0;       // 52
  virtual HRESULT STDMETHODCALLTYPE put_EmbedMovie(VARIANT_BOOL embed) = 0;        // 53
  virtual HRESULT STDMETHODCALLTYPE get_BGColor(BSTR* color) = 0;           // 54
  virtual HRESULT STDMETHODCALLTYPE put_BGColor(BSTR color) = 0;            // 55
  virtual HRESULT STDMETHODCALLTYPE get_Quality2(BSTR* quality) = 0;        // 56
  virtual HRESULT STDMETHODCALLTYPE put_Quality2(BSTR quality) = 0;         // 57
  virtual HRESULT STDMETHODCALLTYPE LoadMovie(int layer, BSTR url) = 0;     // 58
  virtual HRESULT STDMETHODCALLTYPE TGotoFrame(BSTR target, long frame) = 0;       // 59
  virtual HRESULT STDMETHODCALLTYPE TGotoLabel(BSTR target, BSTR label) = 0;       // 60
  virtual HRESULT STDMETHODCALLTYPE TCurrentFrame(BSTR target, long* frame) = 0;   // 61
};
__CRT_UUID_DECL(IShockwaveFlash, 0xd27cdb6c, 0xae6d, 0x11cf, 0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00)

#else  // C form, for objects written with explicit vtables

typedef struct IShockwaveFlashVtbl {
  BEGIN_INTERFACE
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(IShockwaveFlash* This, REFIID riid, void** object);
  ULONG(STDMETHODCALLTYPE* AddRef)(IShockwaveFlash* This);
  ULONG(STDMETHODCALLTYPE* Release)(IShockwaveFlash* This);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfoCount)(IShockwaveFlash* This, UINT* count);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfo)(IShockwaveFlash* This, UINT index, LCID lcid,
                                          ITypeInfo** info);
  HRESULT(STDMETHODCALLTYPE* GetIDsOfNames)(IShockwaveFlash* This, REFIID riid, LPOLESTR* names,
                                            UINT count, LCID lcid, DISPID* ids);
  HRESULT(STDMETHODCALLTYPE* Invoke)(IShockwaveFlash* This, DISPID id, REFIID riid, LCID lcid,
                                     WORD flags, DISPPARAMS* params, VARIANT* result,
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
  HRESULT(STDMETHODCALLTYPE* SetZoomRect)(IShockwaveFlash* This, long left, long top, long right,
                                          long bottom);
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

#endif
