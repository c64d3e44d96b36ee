// The C++ form of IShockwaveFlash (the one the deliverables call through):
// each method's member pointer names its vtable slot.
#include "shockwave_flash.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "shockwave_flash_slots.h"

namespace {

// Under the Itanium C++ ABI that MinGW's g++ follows, a pointer to a virtual
// member function holds 1 + the byte offset of its slot.
template <typename Method>
long slotOf(Method method) {
  struct {
    uintptr_t ptr;
    ptrdiff_t adjust;
  } raw;
  static_assert(sizeof raw == sizeof method, "unexpected member pointer layout");
  std::memcpy(&raw, &method, sizeof raw);
  if ((raw.ptr & 1) == 0) return -1;  // not virtual
  return static_cast<long>((raw.ptr - 1) / sizeof(void*));
}

TEST(ShockwaveFlashLayout, EveryMethodSitsInItsTypeLibrarySlot) {
#define EXPECT_SLOT(name, slot) EXPECT_EQ(slotOf(&IShockwaveFlash::name), slot) << #name;
  SHOCKWAVE_FLASH_OWN_SLOTS(EXPECT_SLOT)
#undef EXPECT_SLOT
  EXPECT_EQ(slotOf(&IDispatch::Invoke), 6);
}

TEST(ShockwaveFlashLayout, IdentifiersMatchTheControl) {
  EXPECT_EQ(__uuidof(IShockwaveFlash), IID_IShockwaveFlash);
  wchar_t text[40];
  StringFromGUID2(CLSID_ShockwaveFlash, text, 40);
  EXPECT_STREQ(text, L"{D27CDB6E-AE6D-11CF-96B8-444553540000}");
  StringFromGUID2(IID_IShockwaveFlash, text, 40);
  EXPECT_STREQ(text, L"{D27CDB6C-AE6D-11CF-96B8-444553540000}");
  StringFromGUID2(IID_ITimerService, text, 40);
  EXPECT_STREQ(text, L"{3050F35F-98B5-11CF-BB82-00AA00BDCE0B}");
  StringFromGUID2(IID_ITimer, text, 40);
  EXPECT_STREQ(text, L"{3050F360-98B5-11CF-BB82-00AA00BDCE0B}");
  StringFromGUID2(IID_ITimerSink, text, 40);
  EXPECT_STREQ(text, L"{3050F361-98B5-11CF-BB82-00AA00BDCE0B}");
}

}  // namespace
