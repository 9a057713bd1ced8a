#pragma once
// The view's two scroll bars: range and position in units of 2 pixels
// (position = scroll offset / 2). The horizontal bar is bar 1, the vertical
// bar bar 2. A range of -2 ... -1 disables a bar; the vertical bar is never
// hidden, only disabled.
//
// The document holds the bars themselves: the control places them in its
// window, shows them and hit-tests them (plugin/), so the range and position
// the document sets are the ones the user sees, with no second copy. A
// position set outside the range is held at its nearest end.

#include "platform/ui/ScrollBar.h"

using DOC_SCROLL_BAR = qm::ui::ScrollBar;

// Whether the document has disabled the bar (its range -2 ... -1, or the
// -1 ... -1 a new bar starts with): it scrolls nothing and shows no thumb.
inline bool DocScrollBarDisabled(const DOC_SCROLL_BAR& bar) { return bar.Minimum() < 0 && bar.Maximum() < 0; }
