// Stand-ins for the toolbar set and the control's button calls until the
// toolbar widget is merged: they do nothing.

#include "plugin/MorvaXEditorCtrl.h"

int CCustToolbar::CalculateHeight() { return 0; }
void CCustToolbar::SetFont(unsigned) { }
void CCustToolbar::SetWindow(const NPWindow&) { }

void CMorvaXEditorCtrl::PrepareToolBar() { }
void CMorvaXEditorCtrl::CheckButtons(int) { }
void CMorvaXEditorCtrl::ToolEnable(bool) { }
int CMorvaXEditorCtrl::ToolEnableButton(int, unsigned, bool, bool) { return 0; }
int CMorvaXEditorCtrl::ToolCheckButton(int, unsigned, bool, bool) { return 0; }
int CMorvaXEditorCtrl::ToolIsButtonChecked(int, unsigned, bool) { return 0; }
void CMorvaXEditorCtrl::SwitchMainButton(int) { }
