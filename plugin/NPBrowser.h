#pragma once
// The browser's function table, as the module's entry points received it
// (NP_Initialize keeps the browser's own table; the main-style entry point
// keeps a copy). Every call into the browser goes through it, by member
// name. Null before the module is started and after it is shut down.

#include "platform/np/Functions.h"

extern NPNetscapeFuncs* browser;
