#pragma once
// The editor's bundle and the files in its resources folder.

#include "base/text/SafeBuf.h"
#include "platform/sys/Bundle.h"

#include <vector>

// Finds the loaded bundle whose identifier is the editor's own (compared
// without regard to case), remembers it as the current bundle and gives the
// path of its resources folder. The path is empty when no bundle matches,
// when it has no resources folder, or when the folder's path is longer than
// 1023 bytes of UTF-8.
void GetBundleResourcePath(CSafeBuf& path);

// The bundle GetBundleResourcePath found last; null before it found one.
const qm::sys::Bundle* GetCurrentBundle();

// The resources folder (found once, then kept for the life of the process),
// "/" unless the folder already ends in one, and name. Only the name when
// the folder cannot be found; the folder alone when name is null.
void GetResourcePath(CSafeBuf& path, const char* name);

// The text of a URL (UTF-8) as the system's text.
void GetStringFromURL(CSafeBuf& text, const char* url);

// An icon family read from an ".icns" file: the file's bytes, checked to be
// a complete icon family holding at least one icon.
struct ICON_FAMILY
{
    std::vector<unsigned char> data;
};
typedef ICON_FAMILY* IconRef;

// The icon family in the file, or null when the file cannot be read or holds
// no icon data. Release it with ReleaseIconRef.
IconRef LoadIconFromIcnsFile(const unsigned short* path);
void ReleaseIconRef(IconRef icon);
