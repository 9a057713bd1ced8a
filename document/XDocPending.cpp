// Members of the document that the engine's event routing and key map call
// and whose work belongs to the pointer, selection, typing and undo code
// still to come. Until then each does nothing (and answers false).

#include "document/XDoc.h"

bool CXDoc::LButtonDown(unsigned int, CPoint) { return false; }

bool CXDoc::MouseMove(unsigned int, CPoint) { return false; }

void CXDoc::OnLButtonUp(unsigned int, CPoint) { }

void CXDoc::ProcessSelection(CElement*, CPoint, CElement*, CPoint) { }

void CXDoc::ProcessSelectionFrom(CPoint) { }

void CXDoc::DisplaySelectionStyle() { }
