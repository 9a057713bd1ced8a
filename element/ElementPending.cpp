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

// ---- caret and keys ----
int CElement::GetKeyLen() { return 0; }
unsigned long CElement::GetKeyColor() { return 0; }
int CElement::GetKeyPos(CPoint&, int) { return 0; }
CElement* CElement::MoveKeyFocusToNext(long, int) { return nullptr; }
CElement* CElement::FindNextElementInParent(bool) { return nullptr; }
CElement* CElement::WhereCursorOn(CPoint) { return nullptr; }
int CElement::GetCloseCursor(CPoint, CPoint&, int&, int&, int) { return 0; }
bool CElement::FindNearElement(CPoint, int, CPoint&, CElement**, long, bool, CElement*) { return false; }
int CElement::LButtonDown(unsigned int, CPoint, bool&, CPoint&, int&, bool&) { return 0; }
bool CElement::OnChar(unsigned int, unsigned int, unsigned int, bool&, CPoint&, int&, CElement*&, bool)
{
    return false;
}
int CElement::MouseMove(unsigned int, CPoint) { return 0; }
int CElement::MouseLeaveElement(CPoint) { return 0; }
int CElement::MouseEnterElement(CPoint) { return 0; }
int CElement::MouseCursorType(CPoint) { return 0; }
bool CElement::CanGetKeyFocus() { return false; }
CElement* CElement::IsLastElementInBlock(bool, bool) { return nullptr; }

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
