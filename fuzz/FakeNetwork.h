#pragma once
// A network driver for fuzz targets. Installed in Services, it answers each
// request with the next of a few replies made from fuzz bytes (status,
// headers, redirect targets, body) and records every request it was sent, so
// a target can check what a loader asked for, hop by hop.

#include "fuzz/FuzzText.h"

#include "platform/events/Services.h"
#include "platform/net/Http.h"

#include <cctype>
#include <string>
#include <vector>

namespace qmfuzz {

// Addresses that locations and redirects point to: the same site written in
// other ways, another host, scheme or port, relative references and schemes
// a loader must not follow.
inline const char* const kSites[] = {"http://example.test/doc.xml", "http://example.test:80/other",
    "http://EXAMPLE.test/x?y=1", "https://example.test/doc.xml", "http://example.test:8080/doc",
    "http://other.test/doc", "http://user:pw@other.test/", "https://other.test:443/a?b#c",
    "http://example.test.other.test/", "/relative/path", "next.xml", "//other.test/no-scheme",
    "ftp://example.test/", "file:///etc/passwd", "http://[::1]:80/", "HTTPS://Example.Test/Doc"};
constexpr int kSiteCount = sizeof(kSites) / sizeof(kSites[0]);

// The scheme, host and port of a plainly written http or https address
// ("http://host[:port][/...]", host of letters, digits, '-' and inner '.'),
// lower case with the default port made explicit; empty for any other text,
// about which two readers may fairly disagree.
inline std::string PlainOrigin(const std::string& url)
{
    std::string s;
    for (char c : url)
        s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string scheme;
    if (s.compare(0, 7, "http://") == 0)
        scheme = "http";
    else if (s.compare(0, 8, "https://") == 0)
        scheme = "https";
    else
        return std::string();
    size_t at = scheme.size() + 3;
    size_t end = s.find_first_of("/?#", at);
    std::string authority = s.substr(at, end == std::string::npos ? std::string::npos : end - at);
    std::string host = authority, port = scheme == "http" ? "80" : "443";
    size_t colon = authority.find(':');
    if (colon != std::string::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
            return std::string();
        port.erase(0,
            port.find_first_not_of('0') == std::string::npos ? port.size() - 1 : port.find_first_not_of('0'));
    }
    if (host.empty() || host.front() == '.' || host.back() == '.' || host.front() == '-'
        || host.find("..") != std::string::npos
        || host.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-") != std::string::npos)
        return std::string();
    for (size_t i = end == std::string::npos ? s.size() : end; i < s.size(); ++i)
        if (static_cast<unsigned char>(s[i]) <= ' ' || static_cast<unsigned char>(s[i]) >= 0x7F
            || s[i] == '\\')
            return std::string();
    return scheme + "://" + host + ":" + port;
}

class FakeNetwork : public qm::net::NetworkDriver
{
public:
    static constexpr int kMaxReplies = 4;
    // Requests beyond this many are a loader that does not stop.
    static constexpr int kMaxRequests = 40;

    // Reads up to kMaxReplies replies from the fuzz data; the last one's body
    // is the rest of the data.
    void Script(FuzzedDataProvider& fdp)
    {
        static const int kStatuses[] = {
            200, 201, 204, 206, 299, 300, 301, 302, 303, 304, 305, 307, 308, 399, 100, 199, 404, 500, 0, -1};
        static const char* const kNames[] = {"Location", "location", "Content-Type", "Content-Length",
            "Set-Cookie", "Transfer-Encoding", "Refresh", "Content-Disposition"};
        m_replies.clear();
        const int count = fdp.ConsumeIntegralInRange<int>(1, kMaxReplies);
        for (int r = 0; r < count; ++r) {
            qm::net::HttpResponse reply;
            reply.status = fdp.ConsumeBool()
                ? kStatuses[fdp.ConsumeIntegralInRange<int>(0, sizeof(kStatuses) / sizeof(kStatuses[0]) - 1)]
                : fdp.ConsumeIntegral<int>();
            const int headers = fdp.ConsumeIntegralInRange<int>(0, 4);
            for (int h = 0; h < headers; ++h) {
                std::string name = fdp.ConsumeBool()
                    ? kNames[fdp.ConsumeIntegralInRange<int>(0, sizeof(kNames) / sizeof(kNames[0]) - 1)]
                    : fdp.ConsumeRandomLengthString(16);
                std::string value = fdp.ConsumeBool()
                    ? kSites[fdp.ConsumeIntegralInRange<int>(0, kSiteCount - 1)]
                    : fdp.ConsumeRandomLengthString(64);
                reply.headers.emplace_back(name, value);
            }
            if (fdp.ConsumeBool())
                reply.finalUrl = kSites[fdp.ConsumeIntegralInRange<int>(0, kSiteCount - 1)];
            if (fdp.ConsumeBool())
                reply.error = fdp.ConsumeRandomLengthString(20);
            reply.body
                = r + 1 < count ? fdp.ConsumeRandomLengthString(256) : fdp.ConsumeRemainingBytesAsString();
            m_replies.push_back(reply);
        }
        Restart();
    }

    // One reply with this status and body, nothing else.
    void ScriptOne(int status, std::string body)
    {
        m_replies.assign(1, qm::net::HttpResponse());
        m_replies[0].status = status;
        m_replies[0].body = std::move(body);
        Restart();
    }

    // Forgets the requests; the replies are served again from the first.
    void Restart()
    {
        m_requests.clear();
        m_served.clear();
    }

    qm::net::HttpResponse Send(const qm::net::HttpRequest& request) override
    {
        m_requests.push_back(request);
        if (m_requests.size() > static_cast<size_t>(kMaxRequests) || m_served.size() >= m_replies.size())
            return qm::net::HttpResponse(); // a failure: 404, no body
        m_served.push_back(m_replies[m_served.size()]);
        return m_served.back();
    }

    const std::vector<qm::net::HttpRequest>& Requests() const { return m_requests; }
    // The replies given so far, in order.
    const std::vector<qm::net::HttpResponse>& Served() const { return m_served; }

private:
    std::vector<qm::net::HttpResponse> m_replies;
    std::vector<qm::net::HttpRequest> m_requests;
    std::vector<qm::net::HttpResponse> m_served;
};

// Installs the driver in Services for the life of a scope.
class ScopedNetwork
{
public:
    explicit ScopedNetwork(qm::net::NetworkDriver& driver) : m_previous(qm::events::Services::Get().Network())
    {
        qm::events::Services::Get().SetNetwork(&driver);
    }
    ~ScopedNetwork() { qm::events::Services::Get().SetNetwork(m_previous); }
    ScopedNetwork(const ScopedNetwork&) = delete;
    ScopedNetwork& operator=(const ScopedNetwork&) = delete;

private:
    qm::net::NetworkDriver* m_previous;
};

} // namespace qmfuzz
