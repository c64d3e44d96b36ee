// The class object of the Flash Player control (internal).
#pragma once

#include <ole2.h>

// The one class factory of the server; it lives as long as the module.
IClassFactory* flashClassFactory();
