// CLangString loaded from fuzzed inline localisation XML, then looked up by
// its own keys and by fuzzed ones. A loader that refuses every fetch keeps a
// text that is not inline XML from reaching the file system.

#include "fuzz/FuzzText.h"

#include "base/app/LangString.h"
#include "base/text/SafeBuf.h"

#include <string>

namespace {

bool NoCache(void*, CSafeBuf&, CSafeBuf& cacheFile)
{
    cacheFile.Empty();
    return false;
}
bool NoFetch(void*, const unsigned short*, CSafeBuf&, const CSafeBuf&) { return false; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 20000)
        return 0;
    static const bool installed = [] {
        static const LangStringLoader loader{NoCache, NoFetch};
        SetLangStringLoader(&loader);
        return true;
    }();
    (void)installed;

    FuzzedDataProvider fdp(data, size);
    std::vector<unsigned short> lang = qmfuzz::Widen(qmfuzz::ConsumeBytes(fdp, 6));
    std::vector<unsigned short> key = qmfuzz::ConsumeU16(fdp, 30);
    bool noFilter = fdp.ConsumeBool();
    bool wrap = fdp.ConsumeBool();
    std::string body = fdp.ConsumeRemainingBytesAsString();
    for (char& c : body)
        if (c == 0)
            c = ' ';
    if (wrap)
        body = "<localization>" + body + "</localization>";
    std::vector<unsigned short> text = qmfuzz::Widen(body);

    static int owner;
    CLangString strings(nullptr, nullptr, &owner);
    strings.LoadLangString(text.data(), lang.data(), noFilter);
    QM_FUZZ_CHECK(strings.IsLoaded());
    CSafeBuf out;
    strings.GetItem(out, key.data(), key.data());
    strings.GetItem(out, "message-box/title", "default");
    // Load again on top: the texts are replaced or kept.
    strings.LoadLangString(text.data(), nullptr, true);
    strings.GetItem(out, static_cast<const char*>(nullptr), static_cast<const char*>(nullptr));
    strings.Reset();
    QM_FUZZ_CHECK(strings.GetCount() == 0);
    return 0;
}
