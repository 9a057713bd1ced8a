#pragma once
// Stand-in for the toolbar set until the toolbar widget is merged: a bar
// without buttons, 0 pixels tall.

#include "platform/np/Window.h"

class CCustToolbar
{
public:
    int CalculateHeight();
    void SetFont(unsigned font);
    void SetWindow(const NPWindow& window);
};
