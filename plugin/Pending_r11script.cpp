// Do-nothing stand-ins of members that other parts of the control define.

#include "plugin/MorvaXEditorCtrl.h"

unsigned short* CMorvaXEditorCtrl::CurrentStyles() { return nullptr; }
void CMorvaXEditorCtrl::ApplyStyleXML(const unsigned short*) { }
void CMorvaXEditorCtrl::ApplyStyleID(const unsigned short*) { }
void CMorvaXEditorCtrl::LoadPlaceHolders() { }
