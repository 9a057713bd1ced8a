#pragma once
// Hexadecimal text for byte values inside configuration and service documents
// (toolbar pictures, for instance). Digits are written in upper case and read
// in either case.
//
// Encode and Decode hand out a new array that the caller releases with
// delete[], terminated by a zero that outLength does not count. When nothing is
// produced out is set to null, outLength to 0 and the answer is false.

class CHex
{
public:
    // Two digits per byte, high half first; outLength = 2 x length. A length
    // below 1 produces nothing.
    static bool Encode(const char* data, int length, char*& out, int& outLength);
    // Encodes the low byte of each unit.
    static bool Encode(const unsigned short* data, int length, char*& out, int& outLength);

    // Each pair of digits gives one byte; a character that is not a hex digit
    // counts as 0 and a last unpaired digit is ignored; outLength = length / 2.
    // A length below 2 produces nothing.
    static bool Decode(const char* text, int length, char*& out, int& outLength);
    static bool Decode(const unsigned short* text, int length, char*& out, int& outLength);

    // Reads a number written in hex with anything between the digits: every
    // character that is neither an ASCII letter nor a digit is skipped, each
    // remaining one shifts the value four bits left and adds its digit value
    // (letters beyond F add 0). The value wraps at 32 bits and is answered as a
    // signed 32-bit number. Null gives 0.
    static long DecodeToLong(const char* text);

    // The digit for the low four bits of n ("0"-"9", "A"-"F").
    static char Hex(int n);
    // The value of a hex digit in either case; 0 for any other character.
    static int DeHex(char ch);
    static int DeHex(unsigned short ch);
};
