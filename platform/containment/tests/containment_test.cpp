#include "atl_containment.h"

#include <gtest/gtest.h>

#include "fake_control.h"
#include "shockwave_flash.h"

namespace {

ULONG refCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

// A site offering IServiceProvider that answers with a marker object.
class RecordingSite : public IServiceProvider {
 public:
  LONG ref = 1;
  int queries = 0;
  GUID lastService = GUID_NULL, lastIid = GUID_NULL;
  HRESULT answer = S_OK;
  IUnknown* marker = nullptr;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IServiceProvider)) {
      *object = static_cast<IServiceProvider*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++ref; }
  ULONG STDMETHODCALLTYPE Release() override { return --ref; }
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override {
    ++queries;
    lastService = service;
    lastIid = iid;
    if (SUCCEEDED(answer)) *object = marker;
    return answer;
  }
};

class ContainmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ASSERT_TRUE(AtlAxWinInit());
    getHost_ = RegisterWindowMessageA("WM_ATLGETHOST");
    getControl_ = RegisterWindowMessageA("WM_ATLGETCONTROL");
    window_ = CreateWindowExA(0, "AtlAxWin", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    AtlAxWinTerm();
    OleUninitialize();
  }

  IUnknown* hostByMessage() { return reinterpret_cast<IUnknown*>(SendMessageA(window_, getHost_, 0, 0)); }
  IUnknown* controlByMessage() { return reinterpret_cast<IUnknown*>(SendMessageA(window_, getControl_, 0, 0)); }

  template <typename T>
  T* hostAs(REFIID iid) {
    IUnknown* host = hostByMessage();
    T* p = nullptr;
    host->QueryInterface(iid, reinterpret_cast<void**>(&p));
    host->Release();
    return p;
  }

  void attach(FakeControl* control) {
    ASSERT_EQ(AtlAxAttachControl(static_cast<IOleObject*>(control), window_, nullptr), S_OK);
  }

  UINT getHost_ = 0, getControl_ = 0;
  HWND window_ = nullptr;
};

TEST_F(ContainmentTest, ClassIsRegisteredAsTheHostsExpect) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "AtlAxWin", &wc));
  EXPECT_EQ(wc.style, 0u);
  EXPECT_EQ(wc.hCursor, LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  // A hidden child of the desktop of default size, as an off-screen renderer makes it.
  HWND hidden = CreateWindowExA(0, "AtlAxWin", nullptr, WS_CHILD, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, GetDesktopWindow(), nullptr, nullptr, nullptr);
  ASSERT_NE(hidden, nullptr);
  IUnknown* host = nullptr;
  EXPECT_EQ(AtlAxGetHost(hidden, &host), S_OK);
  if (host) host->Release();
  DestroyWindow(hidden);
}

TEST_F(ContainmentTest, InitAndTermNest) {
  ASSERT_TRUE(AtlAxWinInit());
  EXPECT_TRUE(AtlAxWinTerm());
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "AtlAxWin", &wc)) << "still one init";

  // The last term while a window lives cannot remove the class; a new init
  // still serves.
  AtlAxWinTerm();
  ASSERT_TRUE(AtlAxWinInit());
  HWND another = CreateWindowExA(0, "AtlAxWin", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(another, nullptr);
  IUnknown* host = nullptr;
  EXPECT_EQ(AtlAxGetHost(another, &host), S_OK);
  if (host) host->Release();
  DestroyWindow(another);
}

TEST_F(ContainmentTest, HostReferencesHandedOutAreCounted) {
  IUnknown* first = hostByMessage();
  ASSERT_NE(first, nullptr);
  ULONG held = refCount(first);
  IUnknown* second = hostByMessage();
  EXPECT_EQ(second, first) << "one host per window";
  EXPECT_EQ(refCount(first), held + 1);
  second->Release();
  IUnknown* viaFunction = nullptr;
  ASSERT_EQ(AtlAxGetHost(window_, &viaFunction), S_OK);
  EXPECT_EQ(refCount(first), held + 1);
  viaFunction->Release();
  EXPECT_EQ(refCount(first), held);
  first->Release();
  EXPECT_EQ(controlByMessage(), nullptr) << "no control attached yet";
  IUnknown* none = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(AtlAxGetControl(window_, &none), E_FAIL);
  EXPECT_EQ(none, nullptr);
}

TEST_F(ContainmentTest, HostAnswersItsInterfacesWithOneIdentity) {
  IUnknown* host = hostByMessage();
  const IID* iids[] = {&IID_IOleClientSite,  &IID_IOleInPlaceSite,  &IID_IOleInPlaceSiteWindowless,
                       &IID_IObjectWithSite, &IID_IServiceProvider, &IID_IAxWinHostWindow};
  for (const IID* iid : iids) {
    IUnknown* p = nullptr;
    ASSERT_EQ(host->QueryInterface(*iid, reinterpret_cast<void**>(&p)), S_OK);
    IUnknown* identity = nullptr;
    p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    EXPECT_EQ(identity, host);
    identity->Release();
    p->Release();
  }
  IUnknown* p = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(host->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&p)), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  host->Release();
}

TEST_F(ContainmentTest, AttachedControlIsActivatedWindowlessAtTheClientRectangle) {
  FakeControl control;
  attach(&control);
  ASSERT_NE(control.clientSite, nullptr);
  ASSERT_NE(control.inPlaceSite, nullptr) << "activated windowless";
  RECT client = {0, 0, 200, 100};
  EXPECT_TRUE(EqualRect(&control.activatedAt, &client));
  IUnknown* host = hostByMessage();
  IUnknown* siteIdentity = nullptr;
  control.clientSite->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&siteIdentity));
  EXPECT_EQ(siteIdentity, host);
  siteIdentity->Release();
  host->Release();

  ULONG before = control.refCount();
  IUnknown* handed = controlByMessage();
  EXPECT_EQ(handed, static_cast<IOleObject*>(&control));
  EXPECT_EQ(control.refCount(), before + 1);
  handed->Release();
  EXPECT_EQ(control.refCount(), before);
}

TEST_F(ContainmentTest, InPlaceRectangleFollowsTheClientRectangle) {
  FakeControl control;
  attach(&control);
  SetWindowPos(window_, nullptr, 0, 0, 320, 150, SWP_NOZORDER | SWP_NOMOVE);
  ASSERT_FALSE(control.objectRects.empty());
  RECT expected = {0, 0, 320, 150};
  EXPECT_TRUE(EqualRect(&control.objectRects.back(), &expected));
  EXPECT_EQ(control.objectRects.size(), 1u) << "clip equals the position";
}

TEST_F(ContainmentTest, InvalidationsOfTheControlReachTheWindow) {
  FakeControl control;
  attach(&control);
  ValidateRect(window_, nullptr);
  RECT part = {10, 20, 30, 40};
  EXPECT_EQ(control.inPlaceSite->InvalidateRect(&part, FALSE), S_OK);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(window_, &update, FALSE));
  EXPECT_TRUE(EqualRect(&update, &part));

  ValidateRect(window_, nullptr);
  control.inPlaceSite->InvalidateRect(nullptr, FALSE);
  GetUpdateRect(window_, &update, FALSE);
  RECT whole = {0, 0, 200, 100};
  EXPECT_TRUE(EqualRect(&update, &whole));

  ValidateRect(window_, nullptr);
  HRGN region = CreateRectRgn(5, 5, 15, 25);
  control.inPlaceSite->InvalidateRgn(region, FALSE);
  DeleteObject(region);
  GetUpdateRect(window_, &update, FALSE);
  RECT regionBox = {5, 5, 15, 25};
  EXPECT_TRUE(EqualRect(&update, &regionBox));
}

TEST_F(ContainmentTest, PaintDrawsTheControlAtItsInPlaceRectangle) {
  FakeControl control;
  attach(&control);
  control.draws = 0;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
  EXPECT_EQ(control.draws, 1);
  EXPECT_TRUE(control.drawnWithoutBounds);
  EXPECT_NE(control.lastDrawDC, nullptr);
}

TEST_F(ContainmentTest, QueryServiceGoesToTheSiteSetOnTheHost) {
  FakeControl control;
  attach(&control);
  IServiceProvider* fromControl = nullptr;
  ASSERT_EQ(control.clientSite->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&fromControl)), S_OK);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(fromControl->QueryService(IID_ITimerService, IID_ITimerService, &out), E_NOINTERFACE) << "no site yet";
  EXPECT_EQ(out, nullptr);

  RecordingSite site;
  site.marker = reinterpret_cast<IUnknown*>(&site);
  IObjectWithSite* withSite = hostAs<IObjectWithSite>(IID_IObjectWithSite);
  ASSERT_EQ(withSite->SetSite(&site), S_OK);
  EXPECT_EQ(site.ref, 2);
  EXPECT_EQ(fromControl->QueryService(IID_IOleObject, IID_ITimerService, &out), S_OK);
  EXPECT_EQ(out, site.marker);
  EXPECT_EQ(site.lastService, IID_IOleObject);
  EXPECT_EQ(site.lastIid, IID_ITimerService);
  site.answer = E_NOINTERFACE;
  EXPECT_EQ(fromControl->QueryService(IID_ITimerService, IID_ITimer, &out), E_NOINTERFACE);
  EXPECT_EQ(site.queries, 2);

  IServiceProvider* got = nullptr;
  EXPECT_EQ(withSite->GetSite(IID_IServiceProvider, reinterpret_cast<void**>(&got)), S_OK);
  EXPECT_EQ(got, static_cast<IServiceProvider*>(&site));
  got->Release();
  withSite->SetSite(nullptr);
  EXPECT_EQ(site.ref, 1) << "the site is released";
  withSite->Release();
  fromControl->Release();
}

TEST_F(ContainmentTest, DestroyingTheWindowClosesAndReleasesTheControl) {
  FakeControl control;
  attach(&control);
  IUnknown* host = hostByMessage();
  DestroyWindow(window_);
  EXPECT_EQ(control.closes, 1);
  EXPECT_EQ(control.deactivations, 1);
  EXPECT_EQ(control.clientSite, nullptr);
  EXPECT_EQ(control.ref, 1) << "only the test's own reference is left";
  EXPECT_EQ(refCount(host), 1u) << "the window's reference is gone";
  host->Release();
}

TEST_F(ContainmentTest, AttachingThroughTheHostWindowInterfaceReplacesTheControl) {
  FakeControl first, second;
  IAxWinHostWindow* hostWindow = hostAs<IAxWinHostWindow>(IID_IAxWinHostWindow);
  ASSERT_NE(hostWindow, nullptr);
  EXPECT_EQ(hostWindow->AttachControl(static_cast<IOleObject*>(&first), window_), S_OK);
  EXPECT_EQ(hostWindow->AttachControl(static_cast<IOleObject*>(&second), GetDesktopWindow()), E_INVALIDARG);
  EXPECT_EQ(hostWindow->AttachControl(static_cast<IOleObject*>(&second), window_), S_OK);
  EXPECT_EQ(first.closes, 1);
  EXPECT_EQ(first.ref, 1);
  IOleObject* queried = nullptr;
  ASSERT_EQ(hostWindow->QueryControl(IID_IOleObject, reinterpret_cast<void**>(&queried)), S_OK);
  EXPECT_EQ(queried, static_cast<IOleObject*>(&second));
  queried->Release();
  hostWindow->Release();
}

TEST_F(ContainmentTest, AttachHandsOutTheContainerAndRefusesOtherWindows) {
  FakeControl control;
  IUnknown* container = nullptr;
  ASSERT_EQ(AtlAxAttachControl(static_cast<IOleObject*>(&control), window_, &container), S_OK);
  IUnknown* host = hostByMessage();
  EXPECT_EQ(container, host);
  host->Release();
  container->Release();

  HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  FakeControl other;
  container = reinterpret_cast<IUnknown*>(1);
  EXPECT_TRUE(FAILED(AtlAxAttachControl(static_cast<IOleObject*>(&other), plain, &container)));
  EXPECT_EQ(container, nullptr);
  EXPECT_EQ(other.ref, 1);
  EXPECT_EQ(AtlAxAttachControl(nullptr, window_, nullptr), E_INVALIDARG);
  DestroyWindow(plain);
}

}  // namespace
