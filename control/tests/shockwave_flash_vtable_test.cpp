// The C form of IShockwaveFlash (the one the stand-in control fills in):
// every slot checked when this file compiles.
#define CINTERFACE
#include "shockwave_flash.h"

#include <cstddef>

#include "shockwave_flash_slots.h"

#define CHECK_SLOT(name, slot)                                                     \
  static_assert(offsetof(IShockwaveFlashVtbl, name) == (slot) * sizeof(void*), \
                #name " is not in slot " #slot);
SHOCKWAVE_FLASH_BASE_SLOTS(CHECK_SLOT)
SHOCKWAVE_FLASH_OWN_SLOTS(CHECK_SLOT)
static_assert(sizeof(IShockwaveFlashVtbl) == 62 * sizeof(void*), "slots after TCurrentFrame");
