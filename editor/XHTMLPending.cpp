// Members that the command table, the dialogs, event routing and the key
// map call but that belong to work not done yet: change notification and
// undo, view switches, tables, inline formatting, the clipboard and
// styles. Each does nothing (and answers that nothing was done) until its
// own code replaces it here.

#include "editor/XHTML.h"

void CXHTML::OnDrawTable(unsigned int, unsigned int) { }
void CXHTML::InsertDataTable(int, int) { }
void CXHTML::OnInserttable() { }
void CXHTML::OnDrawLTable() { }
void CXHTML::OnDrawDTable() { }
void CXHTML::OnResettable() { }
void CXHTML::DoProperty(CElement*) { }
