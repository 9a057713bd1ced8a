// The views' switches the value exchange calls; each does nothing until the
// views' own code arrives.

#include "plugin/MorvaXEditorCtrl.h"

void CMorvaXEditorCtrl::OnSource() { }
void CMorvaXEditorCtrl::OnPreview() { }
void CMorvaXEditorCtrl::OnBlind() { }
