// Base64, hex and percent-encoding of fuzzed bytes and text: decoders on any
// input, encoders followed by their decoder (which must give the bytes back),
// and output buffers exactly as large as stated.

#include "fuzz/FuzzText.h"

#include "base/codec/Base64.h"
#include "base/codec/Hex.h"
#include "base/url/UrlEncoder.h"

#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 8192)
        return 0;
    FuzzedDataProvider fdp(data, size);
    const bool lineBreaks = fdp.ConsumeBool();
    std::vector<char> bytes = fdp.ConsumeBytes<char>(fdp.ConsumeIntegralInRange<size_t>(0, 2000));
    std::vector<unsigned short> text = qmfuzz::RemainingU16(fdp);
    const int nb = static_cast<int>(bytes.size());
    const int nt = static_cast<int>(text.size()) - 1;
    // An exactly sized copy so that reading past the stated length is caught.
    std::unique_ptr<char[]> exact(new char[bytes.size() + 1]);
    if (nb)
        std::memcpy(exact.get(), bytes.data(), bytes.size());
    exact[bytes.size()] = 0;

    // ---- Base64
    char* enc = nullptr;
    int encLen = 0;
    if (CBase64::Encode(exact.get(), nb, enc, encLen, lineBreaks)) {
        QM_FUZZ_CHECK(static_cast<int>(std::strlen(enc)) == encLen);
        char* dec = nullptr;
        int decLen = 0;
        QM_FUZZ_CHECK(CBase64::Decode(enc, encLen, dec, decLen));
        QM_FUZZ_CHECK(decLen == nb && std::memcmp(dec, exact.get(), bytes.size()) == 0);
        delete[] dec;
        delete[] enc;
    } else {
        QM_FUZZ_CHECK(nb < 1 && enc == nullptr && encLen == 0);
    }
    unsigned short* wenc = nullptr;
    if (CBase64::Encode(exact.get(), nb, wenc, encLen, lineBreaks))
        delete[] wenc;
    if (CBase64::Encode(text.data(), nt, wenc, encLen, lineBreaks)) {
        unsigned short* wdec = nullptr;
        int wdecLen = 0;
        QM_FUZZ_CHECK(CBase64::Decode(wenc, encLen, wdec, wdecLen));
        QM_FUZZ_CHECK(wdecLen == nt);
        for (int i = 0; i < nt; ++i)
            QM_FUZZ_CHECK(wdec[i] == (text[i] & 0xFF));
        delete[] wdec;
        delete[] wenc;
    }
    char* dec = nullptr;
    int decLen = 0;
    if (CBase64::Decode(exact.get(), nb, dec, decLen)) {
        QM_FUZZ_CHECK(decLen >= 0 && decLen <= nb);
        delete[] dec;
    }
    if (CBase64::Decode(text.data(), nt, dec, decLen))
        delete[] dec;
    unsigned short* wdec = nullptr;
    if (CBase64::Decode(text.data(), nt, wdec, decLen))
        delete[] wdec;

    // ---- Hex
    char* hex = nullptr;
    int hexLen = 0;
    if (CHex::Encode(exact.get(), nb, hex, hexLen)) {
        QM_FUZZ_CHECK(hexLen == 2 * nb);
        char* back = nullptr;
        int backLen = 0;
        QM_FUZZ_CHECK(CHex::Decode(hex, hexLen, back, backLen));
        QM_FUZZ_CHECK(backLen == nb && std::memcmp(back, exact.get(), bytes.size()) == 0);
        delete[] back;
        (void)CHex::DecodeToLong(hex);
        delete[] hex;
    }
    if (CHex::Encode(text.data(), nt, hex, hexLen))
        delete[] hex;
    if (CHex::Decode(exact.get(), nb, dec, decLen)) {
        QM_FUZZ_CHECK(decLen == nb / 2);
        delete[] dec;
    }
    if (CHex::Decode(text.data(), nt, dec, decLen))
        delete[] dec;
    (void)CHex::DecodeToLong(exact.get());
    for (int i = 0; i < nt && i < 8; ++i) {
        (void)CHex::DeHex(text[i]);
        (void)CHex::DeHex(static_cast<char>(text[i]));
        (void)CHex::Hex(text[i]);
    }

    // ---- Percent-encoding, into buffers of exactly the stated size.
    std::string s(exact.get()); // up to the first zero byte
    const int full = static_cast<int>(3 * s.size() + 1);
    int outSize = nb > 0 ? 1 + static_cast<unsigned char>(bytes[0]) % (full + 1) : full;
    std::unique_ptr<char[]> out(new char[static_cast<size_t>(outSize)]);
    bool complete = CURL::EncodeURL(s.c_str(), out.get(), -1, outSize);
    QM_FUZZ_CHECK(std::strlen(out.get()) < static_cast<size_t>(outSize));
    if (complete) {
        std::unique_ptr<char[]> back(new char[std::strlen(out.get()) + 1]);
        int n = CURL::DecodeURL(out.get(), back.get());
        QM_FUZZ_CHECK(n == static_cast<int>(s.size()) && std::memcmp(back.get(), s.data(), s.size()) == 0);
    }
    std::unique_ptr<char[]> out2(new char[static_cast<size_t>(3 * nb + 1)]);
    QM_FUZZ_CHECK(CURL::EncodeURL(exact.get(), out2.get(), nb, 3 * nb + 1));
    std::unique_ptr<char[]> plain(new char[s.size() + 1]);
    int n = CURL::DecodeURL(s.c_str(), plain.get());
    QM_FUZZ_CHECK(n >= 0 && n <= static_cast<int>(s.size()));
    int cut = static_cast<int>(s.size() / 2) + 1;
    std::unique_ptr<char[]> half(new char[static_cast<size_t>(cut)]);
    n = CURL::DecodeURL(s.c_str(), half.get(), cut);
    QM_FUZZ_CHECK(n >= 0 && n < cut);
    return 0;
}
