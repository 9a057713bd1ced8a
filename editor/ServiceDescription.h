#pragma once
// A service description: what the library and directory services answered
// when the engine asked them to describe themselves, kept by the engine in one
// list per service (CXHTML::m_imageLibraryServices ...) until it is released
// with CXHTML::ReleaseService.
//
// A record owns two chains of items, each item made with new and owning its
// text; the code that fetches a description gives the chains their meaning.

#include "base/text/SafeBuf.h"

struct SERVICE_ITEM
{
    CSafeBuf text;
    SERVICE_ITEM* next = nullptr;
};

struct SERVICE_DESCRIPTION
{
    SERVICE_ITEM* items = nullptr;      // first chain
    SERVICE_ITEM* extraItems = nullptr; // second chain
};
