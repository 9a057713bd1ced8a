// CLangString loaded from a location whose file holds the fuzz bytes, in the
// three ways a location is read: through the owner's fetch, from the owner's
// cache, and as a local path (plain or "file://") without a loader. The
// bytes go to the file as they are, so byte-order marks, encodings and
// declarations are the file's own. The first byte picks the way; the rest is
// the file (so that seeds are plain localisation documents after one byte).

#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"

#include "base/app/LangString.h"
#include "base/text/SafeBuf.h"

#include <string>

namespace {

std::string& FilePath()
{
    static std::string path;
    return path;
}

bool CacheHit(void*, CSafeBuf& location, CSafeBuf& cacheFile)
{
    location.AssignUTF8(FilePath().c_str());
    cacheFile = location;
    return true;
}

bool CacheMiss(void*, CSafeBuf&, CSafeBuf& cacheFile)
{
    cacheFile.Empty();
    return false;
}

bool Fetch(void*, const unsigned short*, CSafeBuf& localFile, const CSafeBuf&)
{
    localFile.AssignUTF8(FilePath().c_str());
    return true;
}

const unsigned short kWebLocation[] = {'h', 't', 't', 'p', ':', '/', '/', 'e', 'x', '.', 't', 'e', 's', 't',
    '/', 'd', 'e', '.', 'x', 'm', 'l', 0};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 20000)
        return 0;
    const unsigned char how = data[0];
    FilePath() = qmfuzz::WriteScratchFile("texts.xml", data + 1, size - 1);
    if (FilePath().empty())
        return 0;

    static const LangStringLoader kFetching{CacheMiss, Fetch};
    static const LangStringLoader kCached{CacheHit, Fetch};
    static int owner;
    std::vector<unsigned short> location;
    switch (how % 4) {
    case 0:
        SetLangStringLoader(&kFetching);
        location.assign(kWebLocation, kWebLocation + sizeof kWebLocation / sizeof kWebLocation[0]);
        break;
    case 1:
        SetLangStringLoader(&kCached);
        location.assign(kWebLocation, kWebLocation + sizeof kWebLocation / sizeof kWebLocation[0]);
        break;
    case 2:
        SetLangStringLoader(nullptr);
        location = qmfuzz::Widen(FilePath());
        break;
    default:
        SetLangStringLoader(nullptr);
        location = qmfuzz::Widen("file://" + FilePath());
        break;
    }
    static const char* const kLangs[] = {"", "en", "de", "cn", "fr-CA"};
    std::vector<unsigned short> lang = qmfuzz::Widen(kLangs[(how / 4) % 5]);
    const bool noFilter = how & 0x80;

    CLangString strings(nullptr, nullptr, &owner);
    QM_FUZZ_CHECK(strings.LoadLangString(location.data(), lang.data(), noFilter));
    QM_FUZZ_CHECK(strings.IsLoaded());
    QM_FUZZ_CHECK(strings.GetCount() >= 0);
    // A missing key (no XML name holds '%') answers itself once a load was attempted.
    CSafeBuf out = strings.GetItem("%missing%", "default");
    QM_FUZZ_CHECK(out == "%missing%");
    strings.GetItem(out, "message-box/title", "default");
    // A second load on top keeps or replaces the texts.
    strings.LoadLangString(location.data(), nullptr, true);
    strings.Reset();
    QM_FUZZ_CHECK(strings.GetCount() == 0 && !strings.IsLoaded());
    SetLangStringLoader(nullptr);
    qmfuzz::ScratchFolder::Empty();
    return 0;
}
