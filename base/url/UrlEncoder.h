#pragma once
// Percent-encoding of 8-bit text for URLs (CURL).
//
// Encoding copies ASCII letters and digits and writes every other byte as "%"
// and two upper-case hex digits. The caller states the size of the output
// buffer; the encoded text is never written beyond it. Decoding never makes
// text longer, so an output as large as the input (plus its terminator)
// always suffices.

#include <cstddef>

class CURL
{
public:
    // Encodes length bytes of in (length < 0: the whole zero-terminated input)
    // into out, which holds outSize bytes, and terminates it. The full result
    // needs 3 x length + 1 bytes; when outSize is smaller the text is cut
    // before the first character or escape that does not fit (never inside an
    // escape) and the answer is false. False too when a pointer is null or
    // outSize is below 1 (out is then left untouched).
    static bool EncodeURL(const char* in, char* out, int length, int outSize);

    // The same for an output array, whose size bounds the output.
    template <std::size_t N>
    static bool EncodeURL(const char* in, char (&out)[N], int length)
    {
        return EncodeURL(in, out, length, N > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(N));
    }

    // Decodes the zero-terminated in into out: "%" and two hex digits (either
    // case) become one byte; everything else, "+" included, is copied, and so
    // is a "%" not followed by two hex digits. out must hold the length of in
    // plus one. Answers the number of bytes written (the terminator not
    // counted); 0 when a pointer is null.
    static int DecodeURL(const char* in, char* out);

    // As above, writing at most outSize bytes including the terminator; the
    // output is cut when it would not fit (outSize < 1 writes nothing).
    static int DecodeURL(const char* in, char* out, int outSize);
};
