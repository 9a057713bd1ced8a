#pragma once
// A font folder's fonts from the machine's fontconfig cache of it, so a
// process need not open and scan every font file when it starts (the scan
// reads each font's whole character map). fc-cache writes such a cache of
// every system font folder; fontconfig keeps it only while the folder has
// not changed since.
//
// The cache holds the patterns a scan of the folder's files gives, in the
// order of their sorted paths; they are added to the configuration's
// application fonts exactly as adding those files one by one would add
// them (a configuration without application fonts yet has the first file
// scanned: adding a file is what makes its set of them). Without a valid
// cache, or one that lacks any of the files, nothing is added and the
// files are to be scanned.

#include <fontconfig/fontconfig.h>

#include <string>
#include <vector>

namespace qm::text {

// The fontconfig configuration text that names the machine's cache folders
// (the system's and the user's), where the caches of font folders are
// looked up.
const char* FontCacheFolders();

// The font files (.ttf, .otf, .ttc, case ignored) of a folder, as paths of
// dir + "/" + name, sorted: the order never depends on the file system.
std::vector<std::string> FontFilesOf(const std::string& dir);

// Adds the fonts of files (the folder's font files, sorted) from the cache
// of dir to config's application fonts. False, config unchanged, when no
// valid cache holds every one of them.
bool AddCachedFonts(FcConfig* config, const std::string& dir, const std::vector<std::string>& files);

} // namespace qm::text
