// Members that the command table, the dialogs, event routing and the key
// map call but that belong to work not done yet: change notification and
// undo, view switches, tables, inline formatting, the clipboard and
// styles. Each does nothing (and answers that nothing was done) until its
// own code replaces it here.

#include "editor/XHTML.h"

void CXHTML::StyleItemChanged(unsigned int) { }
void CXHTML::OnDrawTable(unsigned int, unsigned int) { }
void CXHTML::DoFontButton(int, STYLE_BAR_ITEM*) { }
void CXHTML::DoAlignTable(int, int) { }
void CXHTML::InsertDataTable(int, int) { }
void CXHTML::OnInserttable() { }
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
void CXHTML::OnHeading() { }
void CXHTML::OnCut() { }
void CXHTML::OnCopy() { }
void CXHTML::OnPaste() { }
void CXHTML::OnRemovetable() { }
void CXHTML::OnSelecttable() { }
void CXHTML::OnSelectrow() { }
void CXHTML::OnSelectcol() { }
void CXHTML::OnSetcolheaders() { }
void CXHTML::OnSetrowheaders() { }
void CXHTML::OnConvertitoem() { }
void CXHTML::OnConvertbtostrong() { }
void CXHTML::PopupStyleMenu() { }
void CXHTML::OnDrawLTable() { }
void CXHTML::OnDrawDTable() { }
void CXHTML::OnResettable() { }
void CXHTML::DoProperty(CElement*) { }
void CXHTML::DisplayStyleButton(CElement*) { }
bool CXHTML::OnContextMenu(CPoint) { return false; }
void CXHTML::KeyStrong() { }
void CXHTML::KeyEm() { }
