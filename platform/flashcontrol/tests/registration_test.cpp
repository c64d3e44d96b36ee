// The server as the deliverables find it: registered under the control's class,
// with an accepted file version, created with class context 23.
#include <ocidl.h>

#include <gtest/gtest.h>

#include "control_discovery.h"
#include "stand_in.h"

namespace {

constexpr DWORD kAllServerContexts = 23;

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    dll_ = LoadLibraryW(standInPath().c_str());
    ASSERT_NE(dll_, nullptr);
    registerServer_ = entry("DllRegisterServer");
    unregisterServer_ = entry("DllUnregisterServer");
    canUnloadNow_ = entry("DllCanUnloadNow");
    ASSERT_TRUE(registerServer_ && unregisterServer_ && canUnloadNow_);
  }
  // Whatever a test did, the server stays registered as setup left it.
  void TearDown() override {
    if (registerServer_) registerServer_();
    OleUninitialize();
  }

  using Entry = HRESULT(WINAPI*)();
  Entry entry(const char* name) { return reinterpret_cast<Entry>(GetProcAddress(dll_, name)); }

  static std::string registeredServer() {
    char path[kControlPathSize];
    DWORD length = sizeof path;
    return findControlServer(kControlClassIdText, path, &length) ? path : "";
  }

  HMODULE dll_ = nullptr;
  Entry registerServer_ = nullptr, unregisterServer_ = nullptr, canUnloadNow_ = nullptr;
};

TEST_F(RegistrationTest, RegisteredServerIsThisDllWithAnAcceptedVersion) {
  ASSERT_EQ(registerServer_(), S_OK);
  char expected[MAX_PATH];
  GetModuleFileNameA(dll_, expected, MAX_PATH);
  EXPECT_EQ(lstrcmpiA(registeredServer().c_str(), expected), 0);

  char model[32] = {};
  DWORD size = sizeof model;
  std::string key = std::string("CLSID\\") + kControlClassIdText + "\\InprocServer32";
  EXPECT_EQ(RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), "ThreadingModel", RRF_RT_REG_SZ, nullptr, model, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(model, "Apartment");

  DWORD ms = 0, ls = 0;
  ASSERT_TRUE(findControlVersion(&ms, &ls));
  EXPECT_EQ(ms, 0x00090000u);
  EXPECT_EQ(ls, 0x007C0000u);
  EXPECT_FALSE(isRefusedControlVersion(ms, ls));
}

TEST_F(RegistrationTest, CreatedWithContext23ItOffersWhatHostsQueryFor) {
  ASSERT_EQ(registerServer_(), S_OK);
  ComPtr<IUnknown> control;
  ASSERT_EQ(CoCreateInstance(CLSID_ShockwaveFlash, nullptr, kAllServerContexts, IID_IUnknown, control.outVoid()), S_OK);
  const IID* offered[] = {&IID_IShockwaveFlash,
                          &IID_IDispatch,
                          &IID_IOleObject,
                          &IID_IOleInPlaceObject,
                          &IID_IOleInPlaceObjectWindowless,
                          &IID_IOleWindow,
                          &IID_IViewObject,
                          &IID_IViewObject2,
                          &IID_IViewObjectEx,
                          &IID_IOleControl,
                          &IID_IPersistStreamInit,
                          &IID_IPersist,
                          &IID_ITimerSink};
  for (const IID* iid : offered) {
    ComPtr<IUnknown> p;
    EXPECT_EQ(control->QueryInterface(*iid, p.outVoid()), S_OK);
    ComPtr<IUnknown> identity;
    if (p) p->QueryInterface(IID_IUnknown, identity.outVoid());
    EXPECT_EQ(identity.get(), control.get());
  }
  ComPtr<IUnknown> none;
  EXPECT_EQ(control->QueryInterface(IID_IClassFactory, none.outVoid()), E_NOINTERFACE);
  EXPECT_FALSE(none);
  auto flash = control.as<IShockwaveFlash>(IID_IShockwaveFlash);
  UINT typeInfos = 7;
  EXPECT_EQ(flash->GetTypeInfoCount(&typeInfos), S_OK);
  EXPECT_EQ(typeInfos, 0u);
}

TEST_F(RegistrationTest, UnregisteredServerIsMissingUntilRegisteredAgain) {
  ASSERT_EQ(unregisterServer_(), S_OK);
  EXPECT_EQ(registeredServer(), "");
  DWORD ms, ls;
  EXPECT_FALSE(findControlVersion(&ms, &ls));
  ComPtr<IUnknown> control;
  EXPECT_TRUE(
      FAILED(CoCreateInstance(CLSID_ShockwaveFlash, nullptr, kAllServerContexts, IID_IUnknown, control.outVoid())));
  EXPECT_EQ(unregisterServer_(), S_OK) << "twice is fine";
  ASSERT_EQ(registerServer_(), S_OK);
  EXPECT_TRUE(findControlVersion(&ms, &ls));
}

TEST_F(RegistrationTest, ServerStaysLoadedWhileControlsOrLocksExist) {
  ComPtr<IShockwaveFlash> flash = createStandIn();
  ASSERT_TRUE(flash);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  flash.reset();
  EXPECT_EQ(canUnloadNow_(), S_OK);

  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(dll_, "DllGetClassObject"));
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(getClassObject(CLSID_ShockwaveFlash, IID_IClassFactory, factory.outVoid()), S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow_(), S_OK);
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()), IID_IUnknown, aggregated.outVoid()),
            CLASS_E_NOAGGREGATION);
  ComPtr<IClassFactory> other;
  EXPECT_EQ(getClassObject(IID_IShockwaveFlash, IID_IClassFactory, other.outVoid()), CLASS_E_CLASSNOTAVAILABLE);
}

}  // namespace
