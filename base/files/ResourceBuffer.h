#pragma once
// Reading the text files of the bundle's resources folder ("styles.xml",
// "default.css", "icons.xml", "buttons.htm", "preview.xsl",
// "screenreader.xsl", "placeholders.xml", the language files "<code>.htm").

class CSafeBuf;

// Reads the resource name (its path from GetResourcePath) with
// LoadFileToBuffer(path, out, false). out is emptied first and stays empty
// when there is no such resource; the answer says whether it was read. A
// name that is absolute or holds a ".." step is refused, so a name made from
// outside input (a language code) cannot reach files beyond the folder. The
// trailing arguments play no part (key 0 means the text as it is).
bool SaveResourceToBuffer(
    const char* name, CSafeBuf* out, const unsigned short* = nullptr, unsigned char key = 0);
// The same with a UTF-16 name.
bool SaveResourceToBuffer(const unsigned short* name, CSafeBuf* out);
