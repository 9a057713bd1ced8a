#include "platform/ui/HelpTag.h"

#include "platform/events/Services.h"
#include "platform/ui/UiState.h"

namespace qm::ui {

namespace {

UiState& State() { return events::Services::Get().Windows(); }

void Tell(const events::HelpTag* tag)
{
    try {
        events::Services::Get().Ui().HelpTagChanged(tag);
    } catch (...) { }
}

} // namespace

void ShowHelpTag(const events::HelpTag& tag)
{
    UiState& state = State();
    try {
        state.helpTag = tag;
    } catch (...) {
        return;
    }
    state.helpTagShown = true;
    Tell(&state.helpTag);
}

void HideHelpTag()
{
    UiState& state = State();
    if (!state.helpTagShown)
        return;
    state.helpTagShown = false;
    Tell(nullptr);
}

const events::HelpTag* CurrentHelpTag()
{
    const UiState& state = State();
    return state.helpTagShown ? &state.helpTag : nullptr;
}

} // namespace qm::ui
