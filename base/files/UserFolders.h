#pragma once
// The per-user folders of the process: the cache folder (documents fetched
// from URLs, the debug log) and the temporary folder (preview files, pictures
// written from memory, transfer work files). The control's constructor
// creates the folders and records their paths here once; everything else
// reads them. Both are UTF-16 paths kept without a trailing slash, so callers
// append "/" and a file name. Empty until set.
//
// The values live in function-local statics, so they can be read safely from
// any static initialiser or destructor.

#include "base/text/SafeBuf.h"

// Record the folders. A null path empties the value; trailing slashes are
// removed (a lone "/" stays as it is).
void SetUserCacheFolder(const unsigned short* path);
void SetUserTempFolder(const unsigned short* path);

// The recorded folders (empty when not set).
const CSafeBuf& GetUserCacheFolder();
const CSafeBuf& GetUserTempFolder();
