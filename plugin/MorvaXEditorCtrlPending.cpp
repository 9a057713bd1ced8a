// Control members whose work is not built yet. Each does nothing (and
// answers no text) until its own code replaces it here.

#include "plugin/MorvaXEditorCtrl.h"
