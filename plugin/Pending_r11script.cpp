// Do-nothing stand-ins of members that other parts of the control define.

#include "plugin/MorvaXEditorCtrl.h"

void CMorvaXEditorCtrl::SetValue(const unsigned short*) { }
unsigned short* CMorvaXEditorCtrl::Fix(const unsigned short*) { return nullptr; }
void CMorvaXEditorCtrl::InsertXML(const unsigned short*) { }
void CMorvaXEditorCtrl::InsertText(const unsigned short*) { }
void CMorvaXEditorCtrl::SetAttribute(const unsigned short*, const unsigned short*, const unsigned short*) { }
void CMorvaXEditorCtrl::RemoveAttribute(const unsigned short*, const unsigned short*) { }
void CMorvaXEditorCtrl::AddToContextMenu(const unsigned short*, const unsigned short*, const unsigned short*)
{ }
void CMorvaXEditorCtrl::ClearContextMenu() { }
unsigned short* CMorvaXEditorCtrl::GetSelectedText() { return nullptr; }
unsigned short* CMorvaXEditorCtrl::GetSelectedXML() { return nullptr; }
unsigned short* CMorvaXEditorCtrl::GetTagList() { return nullptr; }
unsigned short* CMorvaXEditorCtrl::GetTagListXML() { return nullptr; }
unsigned short* CMorvaXEditorCtrl::GetPath() { return nullptr; }
unsigned short* CMorvaXEditorCtrl::GetQPath() { return nullptr; }
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
