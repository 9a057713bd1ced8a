#pragma once
// Removing files and folder trees, measuring and copying folders.
//
// Removal never follows symbolic links: a link is removed as a link and its
// target is left alone. It never crosses into another file system mounted
// below the folder. It refuses empty paths, paths ending in "." or "..", the
// root, every top-level folder ("/usr", "/home", "/tmp" itself ...), the
// main system folders below /usr and /var, the home folder (HOME) and every
// folder that holds it. Removal goes on past entries that cannot be deleted.
//
// Every walk here goes at most kMaxFolderDepth levels down (FolderWalk.h);
// a tree deeper than that is a failure, answered as below.

class CSafeBuf;

// Trims white space and one trailing '/' or '\' from folder; when a name is
// left, removes every entry of the folder that is not itself a folder (not
// recursive). False when the folder was refused or cannot be opened.
bool RemoveFiles(const unsigned short* folder);
// Removes the folder and everything below it. True when the folder is gone
// (false for a tree too deep: what lies deeper stays, with the folders
// above it).
bool RemoveEntireFolder(const unsigned short* folder);
// Total size in bytes of the regular files in the folder and its
// sub-folders at every level (links not followed); 0 when it cannot be
// opened or the tree is too deep.
double GetDirectorySize(const unsigned short* folder);
// Copies the folder from, with its files and sub-folders (links and special
// files skipped), into a new or existing folder to, replacing files of the
// same name; a link standing in the target where a folder goes is not
// written through. Refuses to copy a folder into itself. True when
// everything was copied (so false for a tree too deep). The flags play no
// part.
bool CopyFolderTo(
    const unsigned short* from, const unsigned short* to, bool = false, bool = false, bool = false);

// Whether the removal functions refuse this folder (see above).
bool IsProtectedFolder(const unsigned short* folder);
