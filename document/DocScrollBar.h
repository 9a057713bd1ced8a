#pragma once
// One of the view's two scroll bars as the document sets it: its range and
// its position, in units of 2 pixels (position = scroll offset / 2). The
// horizontal bar is bar 1, the vertical bar bar 2. A range of -2 ... -1
// disables a bar; the vertical bar is never hidden, only disabled.

struct DOC_SCROLL_BAR
{
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};
