// The plug-in's one exported function, keeping the host's entry-point name.
#pragma once

#include <cstdint>

#include "importer_records.h"

extern "C" int32_t xImportEntry(int32_t selector, prm::imStdParms* stdParms, intptr_t param1, intptr_t param2);
