#pragma once
// CFileFind: lists a folder, or finds one file, with the read-ahead protocol
// of the system's callers:
//
//   CFileFind find;
//   bool more = find.FindFile(folder);
//   while (more) {
//       more = find.FindNextFile();   // the entry it moves to is valid even
//       ... find.GetFileName() ...    // when it answers false: it was the last
//   }
//
// FindFile reads the first entry ahead as the "next" entry; each FindNextFile
// makes the next entry current and reads the one after it, answering whether
// there was one. Entries come "." and ".." first, then the others in byte
// order of their names, so a listing is the same on every run.
//
// A path that names a file (not a folder) is found as that one file:
// GetFileName gives its name, FindNextFile answers false.
//
// Folder paths are limited to 1023 bytes of UTF-8; longer ones are not found.
// Symbolic links are never taken for folders.

#include "base/shims/TimeShims.h"
#include "base/text/SafeBuf.h"

#include <string>
#include <vector>

class CFileFind
{
public:
    CFileFind() = default;
    virtual ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    bool FindFile(const unsigned short* path);
    bool FindNextFile();

    CSafeBuf GetFileName() const;
    // The folder path, "/" when it is not empty, and the current entry's name.
    CSafeBuf GetFilePath() const;

    // A folder, except one whose name is at least five characters and ends
    // in ".app" (any case): application bundles count as files.
    bool IsDirectory() const;
    bool IsDots() const;
    bool IsHidden() const { return false; }
    bool IsReadOnly() const { return false; }

    // Size in bytes of the current entry (0 when unknown).
    long long GetLength() const;
    // Modification time in UTC (year to second; the day of the week and the
    // milliseconds are left as they are); false when unknown.
    bool GetLastWriteTime(SYSTEMTIME& time) const;

    // Ends the search: both entries and the has-next flag cleared.
    void ReleaseDir();

private:
    struct Entry
    {
        std::string name; // UTF-8
        bool folder = false;
        bool valid = false;
    };

    std::string CurrentPath() const;
    bool ReadAhead();

    bool m_folderOpen = false;
    Entry m_current;
    Entry m_next;
    std::vector<Entry> m_entries; // the folder's entries in listing order
    size_t m_position = 0;        // index of the entry after m_next
    bool m_hasNext = false;
    std::string m_folder;     // UTF-8, at most 1023 bytes
    std::string m_singleFile; // name of the one file found, when a file was
};
