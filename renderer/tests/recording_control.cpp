#include "recording_control.h"

#include <servprov.h>

#include <memory>

namespace {

std::string fileName(const wchar_t* path) {
  std::wstring text(path ? path : L"");
  const size_t slash = text.find_last_of(L"\\/");
  if (slash != std::wstring::npos) text = text.substr(slash + 1);
  return std::string(text.begin(), text.end());
}

}  // namespace

class RecordingFactory : public IClassFactory {
 public:
  RecordingFactory(const RecordingOptions& options, std::vector<RecordingControl*>* made)
      : options_(options), made_(made) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* control = new RecordingControl(options_);
    const HRESULT hr = control->QueryInterface(iid, object);
    if (SUCCEEDED(hr))
      made_->push_back(control);  // the test's reference
    else
      control->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(WINBOOL) override { return S_OK; }

 private:
  RecordingOptions options_;
  std::vector<RecordingControl*>* made_;
};

HRESULT RecordingControl::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IShockwaveFlash))
    *object = static_cast<IShockwaveFlash*>(this);
  else if (IsEqualIID(iid, IID_IOleObject))
    *object = static_cast<IOleObject*>(this);
  else if (options_.inPlaceObject && (IsEqualIID(iid, IID_IOleInPlaceObject) || IsEqualIID(iid, IID_IOleWindow)))
    *object = static_cast<IOleInPlaceObject*>(this);
  else if (options_.viewObject && (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2) ||
                                   IsEqualIID(iid, IID_IViewObjectEx)))
    *object = static_cast<IViewObjectEx*>(this);
  else if (IsEqualIID(iid, IID_ITimerSink))
    *object = static_cast<ITimerSink*>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG RecordingControl::Release() {
  const LONG count = InterlockedDecrement(&ref_);
  if (count == 0) {
    unadviseHostTimer();
    if (site_) site_->Release();
    delete this;
  }
  return count;
}

void RecordingControl::note(const std::string& entry) {
  if (!log.empty()) log += ' ';
  log += entry;
}

HRESULT RecordingControl::get_ScaleMode(int* mode) {
  *mode = scaleMode;
  return S_OK;
}
HRESULT RecordingControl::put_ScaleMode(int mode) {
  scaleMode = mode;
  note("scale(" + std::to_string(mode) + ")");
  return S_OK;
}
HRESULT RecordingControl::put_Loop(VARIANT_BOOL) {
  note("loop");
  return S_OK;
}
// A movie that is no file fails, as the real control's load does.
HRESULT RecordingControl::put_Movie(BSTR path) {
  if (!path || !*path || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return E_FAIL;
  note("load(" + fileName(path) + ")");
  ticks = 0;
  if (options_.advise) adviseHostTimer();
  return S_OK;
}
HRESULT RecordingControl::Play() {
  note("play");
  return S_OK;
}
HRESULT RecordingControl::GotoFrame(long frame) {
  note("goto(" + std::to_string(frame) + ")");
  return S_OK;
}
HRESULT RecordingControl::put_WMode(BSTR mode) {
  transparent = mode && lstrcmpiW(mode, L"Transparent") == 0;
  return S_OK;
}

HRESULT RecordingControl::SetClientSite(IOleClientSite* site) {
  if (site) site->AddRef();
  if (site_) site_->Release();
  site_ = site;
  return S_OK;
}
HRESULT RecordingControl::Close(DWORD) {
  unadviseHostTimer();
  return S_OK;
}

HRESULT RecordingControl::SetObjectRects(LPCRECT rect, LPCRECT) {
  position = *rect;
  note("rects(" + std::to_string(rect->right - rect->left) + "," + std::to_string(rect->bottom - rect->top) + ")");
  return S_OK;
}

HRESULT RecordingControl::Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                               WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  ++draws;
  note(transparent ? "draw(transparent)" : "draw(opaque)");
  RECT area = position;
  if (bounds) SetRect(&area, bounds->left, bounds->top, bounds->right, bounds->bottom);
  if (transparent) area.right = area.left + (area.right - area.left) / 2;
  HBRUSH brush = CreateSolidBrush(colourFor(ticks));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  return S_OK;
}

HRESULT RecordingControl::OnTimer(VARIANT time) {
  if (V_VT(&time) != VT_UI4) return E_INVALIDARG;
  ++ticks;
  note("tick");
  return S_OK;
}

void RecordingControl::adviseHostTimer() {
  unadviseHostTimer();
  IServiceProvider* provider = nullptr;
  if (!site_ || FAILED(site_->QueryInterface(IID_IServiceProvider, (void**)&provider))) return;
  ITimerService* service = nullptr;
  provider->QueryService(IID_ITimerService, IID_ITimerService, (void**)&service);
  provider->Release();
  if (!service) return;
  service->CreateTimer(nullptr, &timer_);
  service->Release();
  if (!timer_) return;
  VARIANT zero;
  VariantInit(&zero);
  V_VT(&zero) = VT_UI4;
  V_UI4(&zero) = 0;
  DWORD cookie = 0;
  timer_->Advise(zero, zero, zero, 0, static_cast<ITimerSink*>(this), &cookie);
}

void RecordingControl::unadviseHostTimer() {
  if (!timer_) return;
  timer_->Unadvise(0);
  timer_->Release();
  timer_ = nullptr;
}

RecordingControlClass::RecordingControlClass(const RecordingOptions& options)
    : factory_(new RecordingFactory(options, &made_)) {
  if (FAILED(CoRegisterClassObject(CLSID_ShockwaveFlash, factory_.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                   &cookie_)))
    cookie_ = 0;
}

RecordingControlClass::~RecordingControlClass() {
  if (cookie_) CoRevokeClassObject(cookie_);
  for (RecordingControl* control : made_) control->Release();
}

RecordingControl* RecordingControlClass::last() const { return made_.empty() ? nullptr : made_.back(); }
