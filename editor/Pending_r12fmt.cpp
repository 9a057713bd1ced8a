// Applying a style drop-list row belongs to other work; until it comes the
// heading command does nothing.

#include "editor/XHTML.h"

void CXHTML::ProcessTagBox(int, STYLE_BAR_ITEM*) { }
