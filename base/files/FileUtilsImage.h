#pragma once
// Recognising picture formats from their first bytes.

class CSafeBuf;

// 1 PNG, 2 JPEG, 3 GIF, 4 BMP, 0 not recognised (also for fewer than 11
// bytes). ext, when given, receives "png", "jpg", "gif" or "bmp" (empty for 0).
// PNG, GIF and BMP are told by their signatures; JPEG by a start-of-image
// mark followed by segments leading to a start-of-frame marker (C0-C3) that
// starts more than ten bytes before the end.
int CheckImageType(const unsigned char* bytes, long size, CSafeBuf* ext = nullptr);
// CheckImageType of the whole file (8-bit path taken as UTF-8); 0 when it
// cannot be read or is empty.
int CheckImageFileType(const unsigned char* path, CSafeBuf* ext = nullptr);
