#pragma once
// The desktop area available to windows.

class CRect;

// Windows are placed without a screen limit: left 0, top 0, right and
// bottom 100000.
void GetDesktopClientRect(CRect& rect);
