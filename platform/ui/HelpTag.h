#pragma once
// Help tags (tooltips): one at a time, shown beside a hot rectangle in
// global coordinates. Showing one replaces the one showing; the host's UI
// driver is told of each change, and the one showing can be read back.

#include "platform/events/UiDriver.h"

namespace qm::ui {

void ShowHelpTag(const events::HelpTag& tag);
// Does nothing when no tag is showing.
void HideHelpTag();
// The tag showing; null when none.
const events::HelpTag* CurrentHelpTag();

} // namespace qm::ui
