#pragma once
// The debug log: "debug.log" in the per-user cache folder (UserFolders.h).
// Callers write to it only while the control's `Debug` setting is on.
//
// Each entry starts on a new line with a head
//   "\nYYYY-MM-DD hh:mm:ss[ticks] [tag] "
// (local date and time, GetTickCount milliseconds, the caller's tag) and
// then the caller's bytes, unchanged.
//
// Rotation keeps the log bounded: when it already holds 512001 bytes or more
// before an entry is written, its bytes from offset 256000 on are copied to
// "debug1.log", which then replaces "debug.log"; the entry follows them.
// When the copy cannot be made in full, the log is left whole and the entry
// is appended to it. Failures are never reported: a log that cannot be
// opened simply gets no entry.

// Appends one entry. length bytes of data are written, or, when length is
// negative, the data up to its first zero byte. Null data writes the head only.
void WriteLogFile(const char* tag, const char* data, int length);

// The sizes that govern rotation.
constexpr long kDebugLogRotateAt = 512001; // rotate when the log holds this many bytes
constexpr long kDebugLogKeepFrom = 256000; // the part kept starts here
