#pragma once
// What the window layer keeps process-wide: the windows that exist, the
// dialogs shown without a modal loop and the help tag showing. Kept in the
// shared platform state (platform/events/Services.h), so that a host sees
// the windows and dialogs of a module it loaded.

#include "platform/events/UiDriver.h"

#include <vector>

namespace qm::ui {

class Window;
class ModalDialog;

struct UiState
{
    std::vector<Window*> windows;       // in order of creation
    std::vector<ModalDialog*> modeless; // in the order they were shown
    bool helpTagShown = false;
    events::HelpTag helpTag;
};

} // namespace qm::ui
