#pragma once
// Zero-terminated UTF-16 string functions, the counterparts of the C string
// functions, many with an 8-bit second operand. 8-bit text is plain bytes:
// each function states whether it widens a byte by its value (zero-extended,
// 0xE9 -> 0x00E9) or with its sign (0xE9 -> 0xFFE9, compared as a negative
// value). Letter case is ASCII only. Comparisons answer exactly 1, -1 or 0.

// ---- lengths, copies, concatenation ----
int U16len(const unsigned short* s); // 0 for null
int U16len(const char* s);           // 0 for null
// Copies src and its terminator; a null src leaves dst untouched. Answers dst.
unsigned short* U16cpy(unsigned short* dst, const unsigned short* src);
unsigned short* U16cpy(unsigned short* dst, const char* src); // zero-extended
// Exactly n units (overlap allowed), then 0 at dst[n]. Answers dst.
unsigned short* U16ncpy(unsigned short* dst, const unsigned short* src, int n);
unsigned short* U16ncpy(unsigned short* dst, const char* src, int n); // zero-extended
// Appends src; answers the number of units appended (0 when either is null).
int U16cat(unsigned short* dst, const unsigned short* src);
int U16cat(unsigned short* dst, const char* src); // sign-extended

// ---- comparison ----
int U16cmp(const unsigned short* a, const unsigned short* b);
int U16cmp(const char* a, const unsigned short* b); // a sign-extended
int U16cmp(const unsigned short* a, const char* b); // b sign-extended
// Exactly n positions (does not stop at a terminator).
int U16ncmp(const unsigned short* a, const unsigned short* b, int n);
int U16ncmp(const unsigned short* a, const char* b, int n);
int U16nicmp(const unsigned short* a, const unsigned short* b, int n);
int U16nicmp(const unsigned short* a, const char* b, int n); // b sign-extended
// Ignoring ASCII case over a's length plus its terminator; 1 when either is null.
int U16icmp(const unsigned short* a, const unsigned short* b);
int U16icmp(const unsigned short* a, const char* b); // b sign-extended
int U16icmp(const char* a, const unsigned short* b); // a sign-extended

// ---- searching ----
// First occurrence of needle or null; an empty (or null) needle answers hay.
unsigned short* U16str(const unsigned short* hay, const unsigned short* needle);
unsigned short* U16str(const unsigned short* hay, const char* needle); // zero-extended
// First unit equal to ch; the terminator is never found.
unsigned short* U16chr(const unsigned short* s, int ch);

// ---- case and numbers ----
unsigned short* U16upr(unsigned short* s);
unsigned short* U16lwr(unsigned short* s);
char* strupr(char* s);
char* strlwr(char* s);
// Decimal value (leading white space, optional sign, digits) of the first 100
// units; saturates at the range of long instead of overflowing.
long U16toi(const unsigned short* s);
// Floating value of the first 99 units.
double u2f(const unsigned short* s);
// Removes the byte 0x20 from the end of s, or from its start when fromStart.
void TrimStr(char* s, bool fromStart);

// ---- converters ----
// Each answers a new zero-terminated array that the caller releases with
// delete[], or null when no memory could be had. The converters answer null
// for null; U16dup answers the empty text.
unsigned short* ConvertCharToTChar(const char* s); // zero-extended
unsigned short* U16dup(const unsigned short* s);
char* ConvertTCharToChar(const unsigned short* s); // low bytes
unsigned int* AnsiToUnicode(const char* s);        // 32-bit units
// n characters between the buffers (n < 0: the source's own length), then a
// terminator at index n of the target.
void CopyBetweenUnicodeAndAnsi(unsigned short* wide, unsigned char* narrow, long n, bool toWide);
bool DoesContainUnicode(const unsigned short* s); // some unit >= 0x100
// size positive and even and a 0 byte among the first size bytes.
bool IsBufferUnicode(const char* bytes, int size);
