#include "net/LoadHTTPFile.h"

#include "base/collections/MapStringToString.h"
#include "base/files/UserFolders.h"
#include "base/shims/TimeShims.h"
#include "net/AdditionalHeaders.h"
#include "net/HttpOwner.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

using qmtest::Exists;
using qmtest::FromUtf8;
using qmtest::ReadFile;
using qmtest::ToUtf8;
using qmtest::WriteFile;

namespace {

class TestOwner : public CHttpOwner
{
public:
    TestOwner() { ClearAdditionalHeaders(&record); }
    bool HttpUseProxy() const override { return useProxy; }
    void HttpProxy(CSafeBuf& server, unsigned int& port, CSafeBuf& user, CSafeBuf& password) const override
    {
        server = proxyServer;
        port = proxyPort;
        user = proxyUser;
        password = proxyPassword;
    }
    const ADDITIONAL_HTTP_HEADERS* HttpHeaders() const override { return &record; }
    bool HttpDebug() const override { return debug; }

    ADDITIONAL_HTTP_HEADERS record;
    bool useProxy = false;
    bool debug = false;
    CSafeBuf proxyServer, proxyUser, proxyPassword;
    unsigned int proxyPort = 0;
};

class LoadHTTPFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Ok());
        ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("load_http_file-")));
        dir = scratch.Path();
        tempDir = dir + "/Temp";
        ::mkdir(tempDir.c_str(), 0700);
        SetUserTempFolder(FromUtf8(tempDir));
    }
    void TearDown() override
    {
        SetUserTempFolder(nullptr);
        SetUserCacheFolder(nullptr);
    }

    // The call as the callers make it: no time-out, no proxy unless given.
    bool Load(const CSafeBuf& location, CSafeBuf& local, CSafeBuf target = CSafeBuf(),
        ADDITIONAL_HTTP_HEADERS* headers = nullptr, CMapStringToString* extra = nullptr,
        CSafeBuf proxy = CSafeBuf(), unsigned int proxyPort = 80)
    {
        CSafeBuf unused1, unused2, unused3, user, password;
        return LoadHTTPFile(AsHttpOwner(&owner), location, local, unused1, -1, target, headers, unused2,
            nullptr, proxy, proxyPort, user, password, unused3, nullptr, "application/soap+xml", extra,
            nullptr);
    }

    qmtest::LoopbackServer server;
    TestOwner owner;
    qmtest::TempDir scratch;
    std::string dir, tempDir;
};

} // namespace

TEST_F(LoadHTTPFileTest, BodyIsStoredInTheTemporaryFileNamedFromTheLocation)
{
    server.Answer("/doc.xml", 200, "<doc>caf\xC3\xA9</doc>");
    CSafeBuf location = FromUtf8(server.Url("/doc.xml"));
    CSafeBuf local;
    ASSERT_TRUE(Load(location, local));

    CSafeBuf expected;
    GetHttpTempFileName(location, expected);
    EXPECT_EQ(ToUtf8(local), ToUtf8(expected));
    EXPECT_EQ(ToUtf8(local).rfind(tempDir + "/", 0), 0u);
    EXPECT_EQ(ReadFile(ToUtf8(local)), "<doc>caf\xC3\xA9</doc>");
    struct stat st;
    ASSERT_EQ(::stat(ToUtf8(local).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(LoadHTTPFileTest, TemporaryNamesAreBoundedAndDistinct)
{
    CSafeBuf a, b, longName;
    GetHttpTempFileName(FromUtf8("http://a.example/one"), a);
    GetHttpTempFileName(FromUtf8("http://a.example/two"), b);
    GetHttpTempFileName(FromUtf8("http://a.example/" + std::string(20000, 'x')), longName);
    EXPECT_NE(ToUtf8(a), ToUtf8(b));
    EXPECT_EQ(a.Length(), b.Length());
    EXPECT_EQ(longName.Length(), a.Length());
    // The folder, "/", 8 hex digits of the thread id, "-", the 32 digits of
    // the MD5 digest of the location's UTF-16 units (taken with an
    // independent MD5 tool over the little-endian units).
    char thread[16];
    std::snprintf(
        thread, sizeof thread, "%08lX", static_cast<unsigned long>(GetCurrentThreadId()) & 0xFFFFFFFFul);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    EXPECT_EQ(ToUtf8(a), tempDir + "/" + thread + "-A7B2EF0155D481F59E447FEADCAB3EA8");
#endif
    EXPECT_EQ(static_cast<size_t>(a.Length()), tempDir.size() + 1 + 8 + 1 + 32);
}

TEST_F(LoadHTTPFileTest, TargetFileReceivesTheBodyAndReplacesTheOldCopy)
{
    server.Answer("/a.css", 200, "p { color: red }");
    std::string target = dir + "/target.css";
    WriteFile(target, "old contents that are much longer than the new ones");

    CSafeBuf local;
    ASSERT_TRUE(Load(FromUtf8(server.Url("/a.css")), local, FromUtf8(target)));
    EXPECT_EQ(ToUtf8(local), target);
    EXPECT_EQ(ReadFile(target), "p { color: red }");
}

TEST_F(LoadHTTPFileTest, FailedFetchAnswersFalseAndLeavesNoStaleFile)
{
    std::string target = dir + "/stale.xml";
    WriteFile(target, "<stale/>");
    CSafeBuf local;
    EXPECT_FALSE(Load(FromUtf8(server.Url("/missing")), local, FromUtf8(target)));
    EXPECT_EQ(ToUtf8(local), target);
    EXPECT_FALSE(Exists(target));

    // Unreachable server, no target: the temporary name holds nothing either.
    unsigned short deadPort;
    {
        qmtest::LoopbackServer gone;
        deadPort = gone.Port();
    }
    CSafeBuf dead = FromUtf8("http://127.0.0.1:" + std::to_string(deadPort) + "/x");
    CSafeBuf tempName;
    GetHttpTempFileName(dead, tempName);
    WriteFile(ToUtf8(tempName), "left from an earlier run");
    EXPECT_FALSE(Load(dead, local));
    EXPECT_FALSE(Exists(ToUtf8(tempName)));
}

TEST_F(LoadHTTPFileTest, RedirectIsFollowed)
{
    server.Redirect("/old", "/new");
    server.Answer("/new", 200, "new place");
    CSafeBuf local;
    ASSERT_TRUE(Load(FromUtf8(server.Url("/old")), local));
    EXPECT_EQ(ReadFile(ToUtf8(local)), "new place");
}

TEST_F(LoadHTTPFileTest, SchemeIsMatchedWithoutRegardToCase)
{
    server.Answer("/up", 200, "upper");
    std::string url = server.Url("/up");
    url.replace(0, 4, "HTTP");
    CSafeBuf local;
    ASSERT_TRUE(Load(FromUtf8(url), local));
    EXPECT_EQ(ReadFile(ToUtf8(local)), "upper");
}

TEST_F(LoadHTTPFileTest, IdentifierHeadersAreSentOnlyWhenSet)
{
    server.Answer("/h", 200, "ok");
    ADDITIONAL_HTTP_HEADERS record;
    ClearAdditionalHeaders(&record);
    SetHeaderField(record.DocumentID, FromUtf8("doc-7"));
    SetHeaderField(record.UserID, FromUtf8("J\xC3\xBCrgen"));
    SetHeaderField(record.Cookie, FromUtf8("a=b"));
    SetHeaderField(record.TagList, FromUtf8("t1,t2"));
    CMapStringToString extra;
    extra.SetAt("SOAPAction", FromUtf8("\"urn:x\""));

    CSafeBuf local;
    ASSERT_TRUE(Load(FromUtf8(server.Url("/h")), local, CSafeBuf(), &record, &extra));
    auto sent = server.Requests();
    ASSERT_EQ(sent.size(), 1u);
    const auto& r = sent[0];
    EXPECT_EQ(r.method, "GET");
    ASSERT_NE(r.Header("X-Document-ID"), nullptr);
    EXPECT_EQ(*r.Header("X-Document-ID"), "doc-7");
    ASSERT_NE(r.Header("X-User-ID"), nullptr);
    EXPECT_EQ(*r.Header("X-User-ID"), "J\xC3\xBCrgen");
    EXPECT_EQ(*r.Header("Cookie"), "a=b");
    EXPECT_EQ(*r.Header("X-TagList"), "t1,t2");
    EXPECT_EQ(*r.Header("Content-Type"), "application/soap+xml");
    EXPECT_EQ(*r.Header("SOAPAction"), "\"urn:x\"");
    for (const char* unset : {"X-Session-ID", "X-Transaction-ID", "X-Client-ID", "X-Instance-ID", "X-Tag-ID",
             "X-Zone-ID", "X-Project-ID", "X-Area-ID", "X-Group-ID", "X-Parent-ID", "X-Container-ID",
             "X-Object-ID", "Accept-Language"})
        EXPECT_EQ(r.Header(unset), nullptr) << unset;
}

TEST_F(LoadHTTPFileTest, OwnersRecordIsUsedWhenNoneIsPassed)
{
    server.Answer("/o", 200, "ok");
    SetHeaderField(owner.record.SessionID, FromUtf8("s-1"));
    SetHeaderField(owner.record.UserAgent, FromUtf8("Quillmark 1.0"));
    CSafeBuf local;
    ASSERT_TRUE(Load(FromUtf8(server.Url("/o")), local));
    auto sent = server.Requests();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_NE(sent[0].Header("X-Session-ID"), nullptr);
    EXPECT_EQ(*sent[0].Header("X-Session-ID"), "s-1");
    EXPECT_EQ(*sent[0].Header("User-Agent"), "Quillmark 1.0");
    EXPECT_EQ(sent[0].Header("X-User-ID"), nullptr);
}

TEST_F(LoadHTTPFileTest, OwnersIdentityStaysWithTheHostAsked)
{
    qmtest::LoopbackServer elsewhere; // another port: another host
    ASSERT_TRUE(elsewhere.Ok());
    server.Redirect("/moved", elsewhere.Url("/doc"));
    elsewhere.Answer("/doc", 200, "landed");
    SetHeaderField(owner.record.SessionID, FromUtf8("s-1"));
    SetHeaderField(owner.record.UserID, FromUtf8("u-1"));

    CSafeBuf local;
    ASSERT_TRUE(Load(FromUtf8(server.Url("/moved")), local));
    EXPECT_EQ(ReadFile(ToUtf8(local)), "landed");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(server.Requests()[0].Header("X-Session-ID"), nullptr);
    ASSERT_EQ(elsewhere.Requests().size(), 1u);
    EXPECT_EQ(elsewhere.Requests()[0].Header("X-Session-ID"), nullptr);
    EXPECT_EQ(elsewhere.Requests()[0].Header("X-User-ID"), nullptr);
}

TEST_F(LoadHTTPFileTest, ProxyFromArgumentsOrFromTheOwnersSwitch)
{
    server.Answer("/p", 200, "proxied");
    CSafeBuf local;
    ASSERT_TRUE(Load(FromUtf8("http://origin.invalid/p"), local, CSafeBuf(), nullptr, nullptr,
        FromUtf8("127.0.0.1"), server.Port()));
    EXPECT_EQ(ReadFile(ToUtf8(local)), "proxied");

    owner.useProxy = true;
    owner.proxyServer = FromUtf8("127.0.0.1");
    owner.proxyPort = server.Port();
    owner.proxyUser = FromUtf8("bob");
    owner.proxyPassword = FromUtf8("pw");
    ASSERT_TRUE(Load(FromUtf8("http://origin.invalid/p"), local));

    auto sent = server.Requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].target, "http://origin.invalid/p");
    EXPECT_EQ(sent[0].Header("Proxy-Authorization"), nullptr);
    EXPECT_EQ(sent[1].target, "http://origin.invalid/p");
    ASSERT_NE(sent[1].Header("Proxy-Authorization"), nullptr);
    EXPECT_EQ(*sent[1].Header("Proxy-Authorization"), "Basic Ym9iOnB3");
}

TEST_F(LoadHTTPFileTest, LocalLocations)
{
    std::string file = dir + "/local file.xml";
    WriteFile(file, "<x/>");
    CSafeBuf local;

    // "file://" + an absolute path: the prefix goes, the path stays.
    EXPECT_TRUE(Load(FromUtf8("file://" + file), local));
    EXPECT_EQ(ToUtf8(local), file);
    EXPECT_TRUE(Load(FromUtf8("FILE://" + file), local));
    EXPECT_EQ(ToUtf8(local), file);

    // With a ":" in the rest, the leading slashes go as well.
    EXPECT_FALSE(Load(FromUtf8("file:///C:/folder/a.xml"), local));
    EXPECT_EQ(ToUtf8(local), "C:/folder/a.xml");

    // A plain path is taken as it is, non-ASCII names included.
    std::string named = dir + "/\xC3\xA9t\xC3\xA9.xml";
    WriteFile(named, "<y/>");
    EXPECT_TRUE(Load(FromUtf8(named), local));
    EXPECT_EQ(ToUtf8(local), named);

    EXPECT_FALSE(Load(FromUtf8(dir + "/absent.xml"), local));
    EXPECT_EQ(ToUtf8(local), dir + "/absent.xml");
    EXPECT_FALSE(Load(FromUtf8(dir), local)); // a folder is no file to read
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(LoadHTTPFileTest, NoPlaceToStoreAnswersFalseWithoutRequest)
{
    server.Answer("/n", 200, "x");
    SetUserTempFolder(nullptr);
    CSafeBuf local;
    EXPECT_FALSE(Load(FromUtf8(server.Url("/n")), local));
    EXPECT_TRUE(local.IsEmpty());
    EXPECT_TRUE(server.Requests().empty());

    CSafeBuf unused1, unused2, unused3, empty, target;
    EXPECT_FALSE(LoadHTTPFile(nullptr, nullptr, local, unused1, -1, target, nullptr, unused2, nullptr, empty,
        80, empty, empty, unused3, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(LoadHTTPFileTest, RequestsAreLoggedOnlyWhileDebugIsOn)
{
    server.Answer("/log", 200, "ok");
    std::string cache = dir + "/Cache";
    ::mkdir(cache.c_str(), 0700);
    ::unlink((cache + "/debug.log").c_str());
    SetUserCacheFolder(FromUtf8(cache));
    CSafeBuf local;

    ASSERT_TRUE(Load(FromUtf8(server.Url("/log")), local));
    EXPECT_FALSE(Exists(cache + "/debug.log"));

    owner.debug = true;
    ASSERT_TRUE(Load(FromUtf8(server.Url("/log")), local));
    std::string log = ReadFile(cache + "/debug.log");
    EXPECT_NE(log.find("[Get]"), std::string::npos);
    EXPECT_NE(log.find("200 " + server.Url("/log")), std::string::npos);
}
