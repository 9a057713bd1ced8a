#pragma once
// Resolution of a reference found in a document or style sheet against the
// address it was found in.

#include "base/text/SafeBuf.h"

// out = relative resolved against base, for hierarchical addresses of the
// form scheme "://" authority "/" path: "//" takes the scheme of base, "/"
// its scheme and authority, "?", "#" and ";" replace that part of the base
// path, anything else replaces the base path's last segment; "." and ".."
// segments are then removed (a ".." with nothing left to remove stays). A
// relative reference holding ":" is already absolute and is used as it is.
// A base without ":" (a local folder) or whose ":" is not followed by "//" is
// a plain prefix: out = base + relative. An empty side gives the other.
// out is cleared first; false only when base or relative is null.
bool BuildRelativeURL(const unsigned short* base, const unsigned short* relative, CSafeBuf& out);
