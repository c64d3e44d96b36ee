// The C form of IShockwaveFlash (the one the stand-in control fills in):
// every slot checked when this file compiles.
#define CINTERFACE
#define COBJMACROS
#include "shockwave_flash.h"

#include <cstddef>

#include "shockwave_flash_slots.h"

#define CHECK_SLOT(name, slot) \
  static_assert(offsetof(IShockwaveFlashVtbl, name) == (slot) * sizeof(void*), #name " is not in slot " #slot);
SHOCKWAVE_FLASH_BASE_SLOTS(CHECK_SLOT)
SHOCKWAVE_FLASH_OWN_SLOTS(CHECK_SLOT)
static_assert(sizeof(IShockwaveFlashVtbl) == 62 * sizeof(void*), "slots after TCurrentFrame");

// The call macros of the C form take the arguments of their slots.
[[maybe_unused]] static HRESULT callEverySlotTheDeliverablesUse(IShockwaveFlash* flash, BSTR text) {
  int mode = 0;
  long frame = 0;
  IShockwaveFlash_get_ScaleMode(flash, &mode);
  IShockwaveFlash_put_ScaleMode(flash, mode);
  IShockwaveFlash_put_Loop(flash, VARIANT_TRUE);
  IShockwaveFlash_put_Movie(flash, text);
  IShockwaveFlash_Play(flash);
  IShockwaveFlash_Stop(flash);
  IShockwaveFlash_Rewind(flash);
  IShockwaveFlash_GotoFrame(flash, frame);
  IShockwaveFlash_put_WMode(flash, text);
  return IShockwaveFlash_TCurrentFrame(flash, text, &frame);
}
