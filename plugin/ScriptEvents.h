#pragma once
// The eight script events: functions a page may define on its window object
// for the editor to call. Whether the page defines each one is asked once,
// when the control is made; the control keeps the answer in its event flags,
// indexed by this order.

enum ScriptEvent
{
    kEventButtonClicked = 0,
    kEventTagListChanged,
    kEventContentChanged,
    kEventFocusSet,
    kEventFocusLost,
    kEventModeChanged,
    kEventContextMenuClicked,
    kEventContextMenuActivated,
    kScriptEventCount
};

// The page function of each event, in the order above.
extern const char* const kScriptEventNames[kScriptEventCount];
