// Address handling on fuzzed text: relative references against a base, and
// the in-place address and path utilities.

#include "fuzz/FuzzText.h"

#include "base/url/RelativeURL.h"
#include "base/url/UrlPath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    std::vector<unsigned short> base = qmfuzz::ConsumeU16(fdp, 200);
    std::vector<unsigned short> rel = qmfuzz::ConsumeU16(fdp, 200);
    std::vector<unsigned short> extra = qmfuzz::ConsumeU16(fdp, 40);

    CSafeBuf out("junk");
    QM_FUZZ_CHECK(BuildRelativeURL(base.data(), rel.data(), out));
    QM_FUZZ_CHECK(out.Length() <= static_cast<int>(base.size() + rel.size()));
    QM_FUZZ_CHECK(!BuildRelativeURL(nullptr, rel.data(), out));
    CSafeBuf again;
    BuildRelativeURL(out, rel.data(), again);

    CSafeBuf url(base.data());
    switch (fdp.ConsumeIntegralInRange<int>(0, 10)) {
    case 0: {
        CSafeBuf enc(url);
        EncodeURL(enc);
        for (int i = 0; i < enc.Length(); ++i)
            QM_FUZZ_CHECK(enc.GetAt(i) < 0x80);
        CSafeBuf dec(enc);
        DecodeURL(dec);
        // Every text survives the trip, lone surrogates included.
        QM_FUZZ_CHECK(dec == url);
        break;
    }
    case 1: {
        // Decoding never makes text longer: three units become at most two.
        const int before = url.Length();
        DecodeURL(url);
        QM_FUZZ_CHECK(url.Length() <= before);
        break;
    }
    case 2: AddParamsToURL(url, rel.data(), extra.data()); break;
    case 3: ParseLocalURL(url); break;
    case 4: CheckForLocalFile(url); break;
    case 5: AddBaseURL(url, CSafeBuf(rel.data())); break;
    case 6: CombinePathURL(url, rel.data()); break;
    case 7: ValidatePath(url, fdp.ConsumeBool()); break;
    case 8: {
        CSafeBuf folder("x"), name("y");
        ParseFilename(url, &folder, &name);
        QM_FUZZ_CHECK(folder.Length() + name.Length() == url.Length());
        ParseFilename(url, nullptr, &name);
        break;
    }
    case 9: {
        CSafeBuf ext;
        ParseFilenameExt(url, ext);
        QM_FUZZ_CHECK(ext.Length() <= url.Length());
        break;
    }
    default: AddParamsToURL(url, nullptr, nullptr); break;
    }
    return 0;
}
