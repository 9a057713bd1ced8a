// Members of the document that the engine's event routing and key map call
// and whose work belongs to the pointer, selection, typing and undo code
// still to come. Until then each does nothing (and answers false).

#include "document/XDoc.h"

bool CXDoc::OnChar(unsigned int, unsigned int, unsigned int) { return false; }

void CXDoc::SaveUndo(bool) { }
