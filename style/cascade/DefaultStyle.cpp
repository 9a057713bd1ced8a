// The default presentation of tags, the style attribute and record merging:
// left to the cascade; for now nothing is given, parsed or merged.

#include "style/cascade/DefaultStyle.h"
#include "style/cascade/StyleMerge.h"

void SetDefaultStyle(const unsigned short*, CElement*) { }

void SetDefaultStyle(const char*, CElement*) { }

bool ParseStyleString(const unsigned short*, ELEMENT_STYLE*, CElement*) { return true; }

void SetNewStyle(CElement*, ELEMENT_STYLE*, int, bool) { }
