#pragma once
// CFolderWalk: the one way every folder walk of the system goes through a
// tree (removing, measuring and copying folders all derive from it).
//
// The walk is depth first and keeps its own stack of open folders instead of
// recursing, so no tree can exhaust the call stack. Each folder below the
// first is opened relative to its parent's descriptor with O_NOFOLLOW, and
// entries are looked at with fstatat(AT_SYMLINK_NOFOLLOW), so a symbolic
// link (even one swapped in while the walk runs) is never entered. The walk
// holds one descriptor for each level it is in, so it goes at most
// kMaxFolderDepth levels below its first folder: a folder deeper than that is
// not entered, and the walk ends as TooDeep, which every walk answers as a
// failure.

#include <sys/stat.h>

// Levels below its first folder that a walk enters.
constexpr int kMaxFolderDepth = 256;

class CFolderWalk
{
public:
    enum class End
    {
        Complete,   // every entry was seen
        SomeUnread, // an entry's status or a folder's listing could not be read
        TooDeep,    // a folder lay deeper than kMaxFolderDepth
        NotOpened,  // the first folder could not be listed
    };

    virtual ~CFolderWalk() = default;

    // Walks below the open folder dirFd, which the walk takes over and closes.
    End Run(int dirFd);

protected:
    // A sub-folder of the open folder dirFd: true to walk into it. Every
    // folder accepted here is left again through LeaveFolder, whether or not
    // it could be opened.
    virtual bool EnterFolder(int dirFd, const char* name, const struct stat& st) = 0;
    // After the walk inside the folder name of dirFd; the folder is closed.
    virtual void LeaveFolder(int dirFd, const char* name) = 0;
    // Every entry that is not a folder (files, links, special files).
    virtual void VisitEntry(int dirFd, const char* name, const struct stat& st) = 0;
};
