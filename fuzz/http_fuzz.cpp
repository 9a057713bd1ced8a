// LoadHTTPFile against a fake network whose replies (status, headers,
// redirects, body) come from fuzz bytes, with fuzzed request settings: the
// identifier record or an owner's, extra headers, content type, proxy and
// target file. Checks: a true answer means a 2xx reply whose body is now the
// local file; a false answer for a web location leaves no file under that
// name; the loader stops asking; the identity headers of the record reach
// only the site that was asked.

#include "fuzz/FakeNetwork.h"
#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"

#include "base/collections/MapStringToString.h"
#include "base/files/UserFolders.h"
#include "base/text/SafeBuf.h"
#include "base/text/Utf.h"
#include "net/AdditionalHeaders.h"
#include "net/HttpOwner.h"
#include "net/LoadHTTPFile.h"

#include <cctype>
#include <memory>
#include <string>

namespace {

class FuzzOwner : public CHttpOwner
{
public:
    bool useProxy = false;
    CSafeBuf server, user, password;
    unsigned int port = 0;
    const ADDITIONAL_HTTP_HEADERS* record = nullptr;
    bool debug = false;

    bool HttpUseProxy() const override { return useProxy; }
    void HttpProxy(CSafeBuf& s, unsigned int& p, CSafeBuf& u, CSafeBuf& pw) const override
    {
        s = server;
        p = port;
        u = user;
        pw = password;
    }
    const ADDITIONAL_HTTP_HEADERS* HttpHeaders() const override { return record; }
    bool HttpDebug() const override { return debug; }
};

void FillRecord(FuzzedDataProvider& fdp, ADDITIONAL_HTTP_HEADERS& record)
{
    ClearAdditionalHeaders(&record);
    const int fields = fdp.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < fields; ++i) {
        std::vector<unsigned short> text = qmfuzz::ConsumeU16(fdp, 24);
        switch (fdp.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: SetHeaderField(record.DocumentID, text.data()); break;
        case 1: SetHeaderField(record.UserID, text.data()); break;
        case 2: SetHeaderField(record.SessionID, text.data()); break;
        case 3: SetHeaderField(record.UserAgent, text.data()); break;
        case 4: SetHeaderField(record.Cookie, text.data()); break;
        default: SetHeaderField(record.TagList, text.data()); break;
        }
    }
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool StartsWithNoCase(const std::vector<unsigned short>& text, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i)
        if (i >= text.size() || text[i] >= 0x80
            || std::tolower(text[i]) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The headers that identify the user or the session: the X- fields and the cookie.
bool IsIdentityHeader(const char* name) { return name[0] == 'X' || std::string(name) == "Cookie"; }

// No request to another scheme, host or port than the first one's carries an
// identity header of the record.
void CheckIdentityStaysHome(const qmfuzz::FakeNetwork& net, const ADDITIONAL_HTTP_HEADERS* record)
{
    if (!record || net.Requests().empty())
        return;
    const std::string home = qmfuzz::PlainOrigin(net.Requests().front().url);
    if (home.empty())
        return;
    for (const auto& request : net.Requests()) {
        const std::string origin = qmfuzz::PlainOrigin(request.url);
        if (origin.empty() || origin == home)
            continue;
        for (int i = 0; i < AdditionalHeaderCount(); ++i) {
            const unsigned short* value = AdditionalHeaderValue(record, i);
            if (!value || !*value || !IsIdentityHeader(AdditionalHeaderName(i)))
                continue;
            for (const auto& h : request.headers)
                QM_FUZZ_CHECK(!EqualNoCase(h.first, AdditionalHeaderName(i)));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384)
        return 0;
    static const bool ready = [] {
        std::vector<unsigned short> folder = qmfuzz::Widen(qmfuzz::ScratchFolder::Path());
        SetUserTempFolder(folder.data());
        SetUserCacheFolder(folder.data());
        return true;
    }();
    (void)ready;
    FuzzedDataProvider fdp(data, size);

    // Where to fetch from.
    std::vector<unsigned short> location;
    const int where = fdp.ConsumeIntegralInRange<int>(0, 3);
    if (where <= 1) {
        location = qmfuzz::Widen(qmfuzz::kSites[fdp.ConsumeIntegralInRange<int>(0, 8)]);
        if (where == 1) {
            location.pop_back();
            std::vector<unsigned short> tail = qmfuzz::ConsumeU16(fdp, 40);
            location.insert(location.end(), tail.begin(), tail.end());
        }
    } else if (where == 2) {
        location = qmfuzz::ConsumeU16(fdp, 80);
    } else {
        std::string file = qmfuzz::WriteScratchFile("local.xml", "<a/>", 4);
        location = qmfuzz::Widen((fdp.ConsumeBool() ? "file://" : "") + file);
    }
    const bool web = StartsWithNoCase(location, "http:") || StartsWithNoCase(location, "https:");

    // The request settings.
    auto record = std::make_unique<ADDITIONAL_HTTP_HEADERS>();
    auto ownerRecord = std::make_unique<ADDITIONAL_HTTP_HEADERS>();
    FillRecord(fdp, *record);
    FillRecord(fdp, *ownerRecord);
    FuzzOwner owner;
    owner.record = ownerRecord.get();
    owner.useProxy = fdp.ConsumeBool();
    owner.server = qmfuzz::ConsumeU16(fdp, 12).data();
    owner.port = fdp.ConsumeIntegral<unsigned short>();
    owner.debug = fdp.ConsumeBool();
    const bool withOwner = fdp.ConsumeBool();
    const bool withRecord = fdp.ConsumeBool();

    CSafeBuf target;
    switch (fdp.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: break; // the temporary name
    case 1: target.AssignUTF8((qmfuzz::ScratchFolder::Path() + "/target.bin").c_str()); break;
    default: target.AssignUTF8((qmfuzz::ScratchFolder::Path() + "/missing/target.bin").c_str()); break;
    }
    CSafeBuf proxyServer, proxyUser, proxyPassword;
    if (fdp.ConsumeBool()) {
        proxyServer = qmfuzz::ConsumeU16(fdp, 12).data();
        proxyUser = qmfuzz::ConsumeU16(fdp, 8).data();
        proxyPassword = qmfuzz::ConsumeU16(fdp, 8).data();
    }
    const unsigned int proxyPort = fdp.ConsumeIntegral<unsigned short>();
    std::string contentType = qmfuzz::ConsumeBytes(fdp, 24);
    const bool withContentType = fdp.ConsumeBool();
    CMapStringToString extra;
    bool extraShadowsIdentity = false;
    const int extras = fdp.ConsumeIntegralInRange<int>(0, 3);
    for (int i = 0; i < extras; ++i) {
        std::string key = qmfuzz::ConsumeBytes(fdp, 16);
        std::string value = qmfuzz::ConsumeBytes(fdp, 32);
        extra.SetAt(key.c_str(), CSafeBuf(value.c_str()));
        for (int f = 0; f < AdditionalHeaderCount(); ++f)
            extraShadowsIdentity = extraShadowsIdentity || EqualNoCase(key, AdditionalHeaderName(f));
    }
    const bool withExtra = fdp.ConsumeBool();
    const long timeOut = fdp.ConsumeIntegralInRange<long>(-1, 100000);

    qmfuzz::FakeNetwork net;
    net.Script(fdp);
    qmfuzz::ScopedNetwork installed(net);

    CSafeBuf localFile("stale"), unused1, unused2, unused3;
    const bool ok = LoadHTTPFile(withOwner ? AsHttpOwner(&owner) : nullptr, location.data(), localFile,
        unused1, timeOut, target, withRecord ? record.get() : nullptr, unused2, nullptr, proxyServer,
        proxyPort, proxyUser, proxyPassword, unused3, nullptr,
        withContentType ? contentType.c_str() : nullptr, withExtra ? &extra : nullptr, nullptr);

    const std::string local = ToUTF8String(localFile);
    QM_FUZZ_CHECK(net.Requests().size() <= 20);
    for (const auto& request : net.Requests())
        QM_FUZZ_CHECK(request.method == "GET" && !request.url.empty());
    if (web) {
        QM_FUZZ_CHECK(!local.empty());
        if (ok) {
            QM_FUZZ_CHECK(!net.Served().empty());
            const qm::net::HttpResponse& last = net.Served().back();
            QM_FUZZ_CHECK(last.status >= 200 && last.status <= 299);
            std::string stored;
            QM_FUZZ_CHECK(qmfuzz::ReadWholeFile(local, stored) && stored == last.body);
        } else {
            QM_FUZZ_CHECK(!qmfuzz::FileExists(local));
        }
        if (!(withExtra && extraShadowsIdentity)) {
            const ADDITIONAL_HTTP_HEADERS* sent = withRecord ? record.get()
                : withOwner                                  ? ownerRecord.get()
                                                             : nullptr;
            CheckIdentityStaysHome(net, sent);
        }
    } else {
        QM_FUZZ_CHECK(net.Requests().empty());
        QM_FUZZ_CHECK(!ok || qmfuzz::FileExists(local));
    }
    qmfuzz::ScratchFolder::Empty();
    return 0;
}
