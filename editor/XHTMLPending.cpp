// Members that the command table, the dialogs, event routing and the key
// map call but that belong to work not done yet: change notification and
// undo, view switches, tables, lists, definition lists, inline formatting,
// the clipboard, styles, Tab and indent. Each does nothing (and answers
// that nothing was done) until its own code replaces it here.

#include "editor/XHTML.h"

void CXHTML::StyleItemChanged(unsigned int) { }
void CXHTML::DoList(CElement*, int, bool, bool) { }
void CXHTML::DoFontButton(int, STYLE_BAR_ITEM*) { }
void CXHTML::DoAlignTable(int, int) { }
void CXHTML::OnInsertrow() { }
void CXHTML::OnInsertcol() { }
void CXHTML::OnRemoverow() { }
void CXHTML::OnRemovecol() { }
void CXHTML::OnFontbold() { }
void CXHTML::OnFontitalic() { }
void CXHTML::OnInsertcolbefore() { }
void CXHTML::OnInsertrowabove() { }
void CXHTML::OnMergecells() { }
void CXHTML::OnSplitcell() { }
void CXHTML::OnMoveleft() { }
void CXHTML::OnMoveright() { }
void CXHTML::OnHeading() { }
void CXHTML::OnCut() { }
void CXHTML::OnCopy() { }
void CXHTML::OnPaste() { }
void CXHTML::OnRemovetable() { }
void CXHTML::OnSelecttable() { }
void CXHTML::OnSelectrow() { }
void CXHTML::OnSelectcol() { }
void CXHTML::OnTab() { }
void CXHTML::OnShifttab() { }
void CXHTML::OnSetcolheaders() { }
void CXHTML::OnSetrowheaders() { }
void CXHTML::OnConvertitoem() { }
void CXHTML::OnConvertbtostrong() { }
void CXHTML::PopupStyleMenu() { }
void CXHTML::OnLInsertIAbove() { }
void CXHTML::OnLInsertIBelow() { }
void CXHTML::OnLMoveIUp() { }
void CXHTML::OnLMoveIDown() { }
void CXHTML::OnLSelectList() { }
void CXHTML::OnLSelectItem() { }
void CXHTML::OnLDeleteList() { }
void CXHTML::OnLDeleteItem() { }
void CXHTML::OnDInsertIAbove() { }
void CXHTML::OnDInsertIBelow() { }
void CXHTML::OnDInsertTAbove() { }
void CXHTML::OnDInsertTBelow() { }
void CXHTML::OnDInsertDAbove() { }
void CXHTML::OnDInsertDBelow() { }
void CXHTML::OnDMoveIUp() { }
void CXHTML::OnDMoveIDown() { }
void CXHTML::OnDMoveTUp() { }
void CXHTML::OnDMoveTDown() { }
void CXHTML::OnDSelectList() { }
void CXHTML::OnDSelectItem() { }
void CXHTML::OnDSelectTerm() { }
void CXHTML::OnDDeleteList() { }
void CXHTML::OnDDeleteItem() { }
void CXHTML::OnDDeleteTerm() { }
void CXHTML::OnDSort() { }
void CXHTML::OnIndent() { }
void CXHTML::OnDefList() { }
void CXHTML::OnChangeList() { }
void CXHTML::DoProperty(CElement*) { }
void CXHTML::DisplayStyleButton(CElement*) { }
bool CXHTML::OnContextMenu(CPoint) { return false; }
void CXHTML::KeyStrong() { }
void CXHTML::KeyEm() { }
bool CXHTML::MoveAllLevelsOut(CElement*) { return false; }
CElement* CXHTML::JumpOutOfLI(CElement*, int) { return nullptr; }
