#include "base/shims/Desktop.h"

#include "base/geometry/Rect.h"

void GetDesktopClientRect(CRect& rect)
{
    rect.left = 0;
    rect.top = 0;
    rect.right = 100000;
    rect.bottom = 100000;
}
