// The kernel services as the system declares them. The host build puts the
// stand-in's header of the same name on the include path instead, so the
// program's code is compiled unchanged against either.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
