#pragma once
// Records the document keeps in chains: its pool of loaded pictures and the
// list of installed fonts, and the proxy settings handed to new pictures.

#include "base/text/SafeBuf.h"

#include <string>
#include <unordered_map>

class CImage;

// One picture loaded for the document, shared by every image element that
// names it. The key is the picture's source, trimmed, its case kept
// (element/ElementPictures.h).
struct IMAGE_POOL_ITEM
{
    CSafeBuf key;
    CImage* image = nullptr; // owned by the entry
    IMAGE_POOL_ITEM* next = nullptr;
};

// The pool's entries by key and its last entry, so that a page of many
// pictures is not searched from the start of the chain for each one.
struct IMAGE_POOL_INDEX
{
    std::unordered_map<std::u16string, IMAGE_POOL_ITEM*> byKey;
    IMAGE_POOL_ITEM* last = nullptr;
};

// One installed font: its name and platform font number.
struct FONT_LIST_ITEM
{
    CSafeBuf name;
    long fontNumber = 0;
    FONT_LIST_ITEM* next = nullptr;
};

// How pictures of the document are fetched: the proxy switch and settings
// copied into every new picture (CImage::SetProxy).
struct IMAGE_LOAD_SETTINGS
{
    bool useProxy = false;
    CSafeBuf proxyHost;
    CSafeBuf proxyUser;
    CSafeBuf proxyPassword;
    int proxyPort = 80;
};
