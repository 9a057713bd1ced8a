#pragma once
// OpenFileDialog: the put-file dialog through which the user picks where to
// save a file. The platform's dialog is answered by the host's UI driver.

#include "base/text/SafeBuf.h"

namespace qm::ui {
class Window;
}

// Proposes name (file type "****"), window-modal on parent when one is given,
// with the parent's title as the name of the program asking.
// When the user saves: path = the chosen folder, "/" and the typed file name
// (UTF-16, nothing cut), and the answer is true. False, path unchanged, when
// the user cancels, the dialog fails, or the typed name is not a plain file
// name (empty, ".", ".." or holding a "/"). The two flags play no part.
bool OpenFileDialog(
    const unsigned short* name, CSafeBuf& path, bool = false, bool = false, qm::ui::Window* parent = nullptr);
