// Script methods whose work is not built yet: the style list's
// (CurrentStyles, ApplyStyleXML, ApplyStyleID) and the place holders'
// definitions. Each does nothing (and answers no text) until its own code
// replaces it here.

#include "plugin/MorvaXEditorCtrl.h"

unsigned short* CMorvaXEditorCtrl::CurrentStyles() { return nullptr; }
void CMorvaXEditorCtrl::ApplyStyleXML(const unsigned short*) { }
void CMorvaXEditorCtrl::ApplyStyleID(const unsigned short*) { }
void CMorvaXEditorCtrl::LoadPlaceHolders() { }
