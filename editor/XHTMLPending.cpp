// Members of the engine that event routing and the key map call and whose
// work belongs to code still to come: change notification and the edit
// buttons, the context menu, property dialogs, undo, the clipboard, inline
// formatting, small structural commands and lists. Until then each does
// nothing (and answers false or null).

#include "editor/XHTML.h"

void CXHTML::NotifyChange(bool) { }
void CXHTML::SetCopyState() { }
void CXHTML::DisplayStyleButton(CElement*) { }
bool CXHTML::OnContextMenu(CPoint) { return false; }
void CXHTML::DoProperty(CElement*) { }
void CXHTML::OnUndo() { }
void CXHTML::OnRedo() { }
void CXHTML::OnCopy() { }
void CXHTML::OnCut() { }
void CXHTML::OnPaste() { }
void CXHTML::KeyStrong() { }
void CXHTML::KeyEm() { }
bool CXHTML::DoAddTag(const char*, bool, bool) { return false; }
void CXHTML::ActionBeforeInsertText(unsigned int) { }
bool CXHTML::MoveAllLevelsOut(CElement*) { return false; }
CElement* CXHTML::JumpOutOfLI(CElement*, int) { return nullptr; }
bool CXHTML::RemoveSelection() { return false; }
