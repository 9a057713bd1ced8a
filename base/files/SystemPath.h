#pragma once
// How a path crosses from the system's UTF-16 text to the file system: as
// UTF-8, so that a name with characters outside ASCII names the right file.
// Every function that takes a UTF-16 path goes through here.
//
// A path whose UTF-8 form is longer than kMaxSystemPathBytes - 1 bytes is
// refused (rather than cut, which would name another file).

#include <string>

constexpr int kMaxSystemPathBytes = 1024; // terminator included

// The UTF-8 form of a zero-terminated UTF-16 path; empty for null, for the
// empty path and for a path that is too long.
std::string PathToSystem(const unsigned short* path);

// The same with the answer telling whether a usable path came out.
bool PathToSystem(const unsigned short* path, std::string& out);

// An 8-bit path is taken as UTF-8 bytes as they are; empty for null and for a
// path that is too long.
std::string PathToSystem(const char* path);
