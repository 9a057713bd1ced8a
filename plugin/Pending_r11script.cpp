// Do-nothing stand-ins of members that other parts of the control define.

#include "plugin/MorvaXEditorCtrl.h"

void CMorvaXEditorCtrl::SetMode(const unsigned short*) { }
unsigned short* CMorvaXEditorCtrl::GetMode() { return nullptr; }
void CMorvaXEditorCtrl::SetScreenReaderXSLT(const unsigned short*) { }
void CMorvaXEditorCtrl::SetPreviewXSLT(const unsigned short*) { }
unsigned short* CMorvaXEditorCtrl::GetScreenReaderXSLT() { return nullptr; }
unsigned short* CMorvaXEditorCtrl::GetPreviewXSLT() { return nullptr; }
unsigned short* CMorvaXEditorCtrl::CurrentStyles() { return nullptr; }
void CMorvaXEditorCtrl::ApplyStyleXML(const unsigned short*) { }
void CMorvaXEditorCtrl::ApplyStyleID(const unsigned short*) { }
void CMorvaXEditorCtrl::LoadPlaceHolders() { }
