#pragma once
// Base64 (RFC 4648 standard alphabet, "=" padding), used to carry files to and
// from the web services.
//
// Every output is a new array that the caller releases with delete[]. It is
// terminated by a zero that outLength does not count. When nothing is produced
// (bad arguments, too short an input, no memory) out is set to null,
// outLength to 0 and the answer is false.

class CBase64
{
public:
    // Encodes length bytes. With lineBreaks, CR LF follows every complete line
    // of 76 output characters (57 input bytes); the padded last group never
    // ends a line. A length below 1 produces nothing.
    static bool Encode(const char* data, int length, char*& out, int& outLength, bool lineBreaks);
    static bool Encode(const char* data, int length, unsigned short*& out, int& outLength, bool lineBreaks);
    // Encodes the low byte of each of length units.
    static bool Encode(
        const unsigned short* data, int length, unsigned short*& out, int& outLength, bool lineBreaks);

    // Decodes length characters. Characters outside the alphabet (line breaks,
    // blanks, anything else, including every unit above 0xFF) are skipped;
    // decoding stops at the first "=" or at the end; leftover bits that do not
    // fill a byte are dropped. A length below 4 produces nothing.
    static bool Decode(const char* text, int length, char*& out, int& outLength);
    static bool Decode(const unsigned short* text, int length, char*& out, int& outLength);
    // Each decoded byte goes into one unit (its value 0x00-0xFF).
    static bool Decode(const unsigned short* text, int length, unsigned short*& out, int& outLength);
};
