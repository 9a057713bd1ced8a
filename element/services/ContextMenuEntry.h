#pragma once
// A context-menu entry that the page added: its command identifier (38000
// and above), the name the context-menu-clicked event carries, the next
// entry, the label the menu shows and a third text kept for the page. The
// control owns the chain.

#include "base/text/SafeBuf.h"

struct CONTEXT_MENU_ENTRY
{
    unsigned int id = 0;
    CSafeBuf name;
    CONTEXT_MENU_ENTRY* next = nullptr;
    CSafeBuf label; // the text the menu shows
    CSafeBuf third; // stored only
};
