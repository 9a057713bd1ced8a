#pragma once
// Reading text files with encoding detection.
//
// The file's first bytes decide how its bytes become UTF-16 text:
//   FE FF           big-endian UTF-16 after the mark ((n - 2) / 2 units);
//   FF FE           little-endian UTF-16 after the mark;
//   EF BB BF        with decodeUTF8, the rest decoded as UTF-8 (malformed
//                   sequences dropped); without it, like any other bytes;
//   otherwise, an even, non-empty file holding a zero byte is UTF-16 in the
//   machine's byte order without a mark, up to its first zero unit; any other
//   file is one unit per byte (0x00-0xFF).
// Paths reach the file system as UTF-8; 8-bit paths are taken as UTF-8.

class CSafeBuf;

// Reads the whole file into out; false (out unchanged) when it cannot be
// opened or read, or names a folder.
bool LoadFileToBuffer(const unsigned short* path, CSafeBuf* out, bool decodeUTF8);
bool LoadFileToBuffer(const char* path, CSafeBuf* out, bool decodeUTF8);
// The same into a new array (release with delete[]); *out is null when the
// file is empty or cannot be read. True when the file was read.
bool LoadFileToBuffer(const unsigned short* path, unsigned short** out, bool decodeUTF8);
