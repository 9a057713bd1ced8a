// CXMLHttp over the platform's HttpSend: what each proxy mode, the upload
// time-out and AddHttpHeaders put into the request, and the body read in
// pieces of at most 2048 bytes. The transport itself is tested with the
// platform.

#include "net/XMLHttp.h"

#include "net/AdditionalHeaders.h"
#include "platform/events/Services.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qmtest::FromUtf8;

namespace {

// Takes every request and answers each with the body given.
class CapturingNetwork : public qm::net::NetworkDriver
{
public:
    explicit CapturingNetwork(std::string body = "ok") : m_body(std::move(body))
    {
        qm::events::Services::Get().SetNetwork(this);
    }
    ~CapturingNetwork() override { qm::events::Services::Get().SetNetwork(nullptr); }
    qm::net::HttpResponse Send(const qm::net::HttpRequest& request) override
    {
        sent.push_back(request);
        qm::net::HttpResponse r;
        r.status = 200;
        r.body = m_body;
        return r;
    }
    std::vector<qm::net::HttpRequest> sent;

private:
    std::string m_body;
};

} // namespace

TEST(XMLHttpTest, ProxyModesAndTimeOutsReachTheRequest)
{
    struct Case
    {
        int mode;
        const char* host;
        unsigned port;
        bool upload;
        const char* proxyHost;
        unsigned proxyPort;
        const char* proxyUser;
        long timeout;
    } cases[] = {
        {CXMLHttp::kProxyManual, " proxy.test ", 3128, false, "proxy.test", 3128, "u", 15000},
        {CXMLHttp::kProxyManual, "proxy.test", 0, true, "proxy.test", 80, "u", 60000},
        {CXMLHttp::kProxyManual, "  ", 3128, false, "", 80, "", 15000},
        {CXMLHttp::kProxyAuto, "proxy.test", 3128, false, "", 80, "", 15000},
        {CXMLHttp::kProxyDirect, "proxy.test", 3128, true, "", 80, "", 60000},
    };
    for (const Case& c : cases) {
        CapturingNetwork net;
        CXMLHttp http;
        ASSERT_TRUE(http.Open("post", FromUtf8("http://service.test/upload")));
        http.SetProxy(c.mode, FromUtf8(c.host), c.port, FromUtf8("u"), FromUtf8("p"));
        http.SetUpload(c.upload);
        EXPECT_TRUE(http.Send("body"));
        ASSERT_EQ(1u, net.sent.size());
        const qm::net::HttpRequest& r = net.sent[0];
        const std::string where = std::to_string(c.mode) + " " + c.host;
        EXPECT_EQ("POST", r.method) << where;
        EXPECT_EQ("body", r.body) << where;
        EXPECT_EQ(c.proxyHost, r.proxyHost) << where;
        EXPECT_EQ(c.proxyPort, r.proxyPort) << where;
        EXPECT_EQ(c.proxyUser, r.proxyUser) << where;
        EXPECT_EQ(c.timeout, r.idleTimeoutMs) << where;
        EXPECT_EQ(CXMLHttp::kMaxAnswerBytes, r.maxBodyBytes) << where;
    }
}

TEST(XMLHttpTest, OnlyGetAndPostToWebAddressesOpen)
{
    CXMLHttp http;
    EXPECT_FALSE(http.Open("PUT", "http://service.test/"));
    EXPECT_FALSE(http.Open("GET", "file:///etc/passwd"));
    EXPECT_FALSE(http.Open("GET", static_cast<const char*>(nullptr)));
    CapturingNetwork net;
    EXPECT_FALSE(http.Send());
    EXPECT_TRUE(net.sent.empty());
    ASSERT_TRUE(http.Open("Get", "https://service.test/a"));
    EXPECT_TRUE(http.Send("ignored"));
    ASSERT_EQ(1u, net.sent.size());
    EXPECT_EQ("GET", net.sent[0].method);
    EXPECT_EQ("", net.sent[0].body); // a GET carries no body
}

TEST(XMLHttpTest, BodyIsReadInPiecesOfAtMost2048Bytes)
{
    std::string body(5000, 'x');
    body[2047] = 'a';
    body[4999] = 'z';
    CapturingNetwork net(body);
    CXMLHttp http;
    ASSERT_TRUE(http.Open("GET", "http://service.test/big"));
    ASSERT_TRUE(http.Send());
    char buffer[4096];
    std::vector<int> sizes;
    std::string read;
    for (int n; (n = http.Read(buffer, sizeof buffer)) > 0;) {
        sizes.push_back(n);
        read.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ((std::vector<int>{2048, 2048, 904}), sizes);
    EXPECT_EQ(body, read);
    EXPECT_EQ(0, http.Read(nullptr, 10));
    ASSERT_TRUE(http.Send());
    EXPECT_EQ(100, http.Read(buffer, 100)); // a new answer is read from its start
    EXPECT_EQ(body.substr(0, 100), std::string(buffer, 100));
}

TEST(XMLHttpTest, AddHttpHeadersPutsContentTypeFirstThenNonEmptyFields)
{
    ADDITIONAL_HTTP_HEADERS h;
    ClearAdditionalHeaders(&h);
    SetHeaderField(h.UserID, FromUtf8("u\xC3\xA9"));
    SetHeaderField(h.ObjectID, FromUtf8("o1"));
    SetHeaderField(h.TagList, FromUtf8("a,b"));
    CapturingNetwork net;
    CXMLHttp http;
    ASSERT_TRUE(http.Open("POST", "http://service.test/"));
    AddHttpHeaders(&http, &h, "text/xml");
    AddHttpHeaders(nullptr, &h, "text/xml"); // nothing to add to
    ASSERT_TRUE(http.Send("x"));
    const qm::net::HttpHeaderList expected = {{"Content-Type", "text/xml"}, {"X-User-ID", "u\xC3\xA9"},
        {"X-Object-ID", "o1"}, {"X-TagList", "a,b"}};
    EXPECT_EQ(expected, net.sent.at(0).headers);

    CXMLHttp bare;
    ASSERT_TRUE(bare.Open("GET", "http://service.test/"));
    AddHttpHeaders(&bare, nullptr, "");
    EXPECT_TRUE(bare.Request().headers.empty());
}
