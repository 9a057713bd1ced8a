#pragma once
// File operations with Windows-style names. Paths are UTF-16 and reach the
// file system as UTF-8 (base/files/SystemPath.h); 8-bit paths are taken as UTF-8.

#include <cstddef>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

// True when the file was removed.
bool DeleteFile(const unsigned short* path);
bool DeleteFile(const char* path);

// True when the folder was made. Folders are private to the user (mode 0700,
// before the process's file-creation mask). The second argument plays no part.
bool CreateDirectory(const unsigned short* path, void* reserved = nullptr);

// Copies a file; an existing destination is always replaced (the flag plays no
// part). The source is only read, so read-only files can be copied. The copy
// is written beside the destination, in a new file made exclusively (never
// through an entry that was there) with the permissions the process's
// file-creation mask gives a new file, and moved over the destination when
// complete, so a failed copy leaves an existing destination as it was. The
// mask is never changed. False when either path is missing, the source
// cannot be read or any write fails.
bool CopyFile(const char* from, const char* to, bool failIfExists);
bool CopyFile(const unsigned short* from, const unsigned short* to, bool failIfExists);

// The same copy between folders held open (AT_FDCWD: the working folder),
// with system paths relative to them; noFollow refuses a source that is a
// symbolic link.
bool CopyFileAt(int fromDir, const std::string& from, int toDir, const std::string& to, bool noFollow);

// Creates or truncates the file and writes length bytes of data. False when
// the file cannot be written (a negative length, or null data with a
// positive length, writes nothing and answers false).
bool WriteToFile(const unsigned short* path, const char* data, int length);

// Reads the whole file at a system path (as PathToSystem gives it) into bytes
// (replacing what they held). False when the path is empty, the file cannot
// be opened or read (a folder cannot), it holds more than maxBytes, or memory
// fails.
bool ReadFileBytes(const std::string& systemPath, std::vector<unsigned char>& bytes,
    std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// Write a 32-bit or 16-bit value in the machine's byte order (least
// significant byte first here). False when the bytes could not be written.
bool WriteLongToFile(std::FILE* file, long value);
bool WriteShortToFile(std::FILE* file, unsigned short value);

// The file's length in bytes; the position is left at the start. 0 for null
// or when it cannot be told. The second argument plays no part.
long GetFileSize(std::FILE* file, void* reserved);

// Copies the path unchanged (nothing is resolved) into out, which has room
// for size bytes; answers out. When out is null or the path and its
// terminator do not fit, nothing is copied (out is made empty when it has
// room) and the answer is null. The last argument plays no part.
char* GetFullPathName(const char* path, int size, char* out, char** filePart);
