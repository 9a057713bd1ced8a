#pragma once
// Testing and taking apart file paths. Paths are UTF-16 and reach the file
// system as UTF-8; separators are '/' and, for taking paths apart, also '\'.
//
// The functions that write into a caller's array take its size in units and
// write the whole answer and a terminator, or, when that does not fit, only
// an empty text and answer false: a cut path would name another file.

class CSafeBuf;

// The path separators: '/' and, where a path is taken apart, '\'. Every
// function here and in base/url that splits paths uses this one test.
constexpr bool IsPathSeparator(unsigned int c) { return c == '/' || c == '\\'; }

// The path names something other than a folder that can be opened for reading.
bool DoesFileExist(const unsigned short* path);
// The size in bytes, 0 when it cannot be told; reserved (when given) is set to 0.
long GetSizeOfFile(const unsigned short* path, long* reserved = nullptr);
// False for the empty path; true when it ends in '/' or '\', or names a folder.
bool IsItAFolder(const unsigned short* path);
// True for "//users", "//usr", "//sbin", "//var" and "//bin" (ASCII case
// ignored) and for every path starting with exactly "//us". The local file
// browser keeps away from these.
bool IsSystemFolder(const unsigned short* path);
// False for null and for names holding '\', '/', '*' or '?'.
bool IsFilenameValid(const unsigned short* name);
// False for null, empty, names starting with '.', and names holding any of
// : * ? \ / " | > <.
bool IsValidFilename(const unsigned short* name);

// The text after the last '.' of the last path segment; empty when it has none.
void ParseFileExtension(const unsigned short* path, CSafeBuf& ext);
bool ParseFileExtension(const unsigned short* path, unsigned short* ext, int size);
// The text after the last '/' or '\', or the whole path when there is none.
void ParseFilename(const unsigned short* path, CSafeBuf& name);
bool ParseFilename(const unsigned short* path, unsigned short* name, int size);
// The path up to and including its last '/' or '\'; empty when there is none.
void ParseFilePath(const unsigned short* path, CSafeBuf& folder);
bool ParseFilePath(const unsigned short* path, unsigned short* folder, int size);

// Appends name with one '/' between (none when path is empty or already ends
// in '/'); then, when trailing is not 0 and path does not end with it, appends
// trailing. A null name does nothing.
void AddNameToPath(CSafeBuf& path, const unsigned short* name, unsigned short trailing = 0);
