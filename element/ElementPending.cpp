// The operations listed under "Filled in later" in Element.h: each does
// nothing and answers false, 0 or null until the code that owns its
// behaviour (layout, painting, cascade, markup, caret, selection, edits)
// replaces it here.

#include "element/Element.h"

// ---- layout ----

// ---- painting ----
bool CElement::ReLoad(void*) { return false; }

// ---- markup ----
CElement* CElement::InsertTagText(const unsigned short*, long, bool, bool, bool, bool) { return nullptr; }

// ---- selection ----
bool CElement::ProcessSelection(long, CPoint, long, CPoint, bool&, bool, CPtrList*) { return false; }
CElement* CElement::PackSelection(CElement*) { return nullptr; }
bool CElement::IsCursorInsideSelection(CPoint) { return false; }
bool CElement::CheckHasSelection(int) { return false; }
bool CElement::IsSelectionUnderTag(int, int) { return false; }
int CElement::DoSelection(int, bool, CElement*) { return 0; }
bool CElement::CleanMark() { return false; }
bool CElement::GetSelectionCode(CSafeBuf&, int, bool) { return false; }

// ---- structural edits ----
