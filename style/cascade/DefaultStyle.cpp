// The default presentation of tags: left to the cascade; for now nothing.

#include "style/cascade/DefaultStyle.h"

void SetDefaultStyle(const unsigned short*, CElement*) { }

void SetDefaultStyle(const char*, CElement*) { }
