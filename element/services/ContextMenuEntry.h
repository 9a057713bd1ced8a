#pragma once
// A context-menu entry that the page added: its command identifier (38000
// and above), the name the context-menu-clicked event carries, and the next
// entry. The control owns the chain.

#include "base/text/SafeBuf.h"

struct CONTEXT_MENU_ENTRY
{
    unsigned int id = 0;
    CSafeBuf name;
    CONTEXT_MENU_ENTRY* next = nullptr;
};
