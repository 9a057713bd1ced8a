#pragma once
// HexDec: the value of the first eight hexadecimal digits of a text, either
// case, every other character skipped ("#1a-2B" is 0x1A2B). -1 when the text
// (or a null pointer) holds no digit. The answer is a long, 64 bits wide on
// every target we build for, so eight digits (up to 0xFFFFFFFF) are always a
// non-negative value and never collide with -1.

long HexDec(const unsigned short* text);
