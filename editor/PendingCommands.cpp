// Commands the key map reaches that the command table provides; until it
// is here each does nothing.

#include "editor/XHTML.h"

void CXHTML::OnInserthref() { }
void CXHTML::DoFindReplace(int) { }
