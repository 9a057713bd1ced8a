// The operations listed under "Filled in later" in Element.h: each does
// nothing and answers false, 0 or null until the code that owns its
// behaviour (layout, painting, cascade, markup, caret, selection, edits)
// replaces it here.

#include "element/Element.h"

// ---- layout ----

// ---- painting ----
bool CElement::ReLoad(void*) { return false; }

// ---- structural edits ----
