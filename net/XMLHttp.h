#pragma once
// CXMLHttp: one web request of the editor's services (web-service calls,
// library uploads), made over the platform's HttpSend.
//
// A request is opened with a method and an address, given its headers
// (AddHttpHeaders adds the content type and the control's identifier
// headers), its proxy mode and, for an upload, the longer time-out, and then
// sent. The answer is read whole by HttpSend; callers take the body as text
// or in reads of at most kReadSize bytes, as the network layer hands them out.
//
// Proxy modes:
//   kProxyDirect  no proxy, whatever host was given;
//   kProxyAuto    the system finds the proxy: this platform has no proxy
//                 discovery, so the request goes direct;
//   kProxyManual  the given host and port (0 reads as 80) with Basic
//                 credentials when a user is given; an empty host goes direct.
// Time-outs: 15000 ms of silence ends a request; an upload allows 60000 ms.
// A request that gets no answer reads as status 404 with an empty body, and
// so does an answer longer than kMaxAnswerBytes.

#include "base/text/SafeBuf.h"
#include "platform/net/Http.h"

#include <cstddef>
#include <string>

struct ADDITIONAL_HTTP_HEADERS;

class CXMLHttp
{
public:
    enum ProxyMode
    {
        kProxyDirect = 0,
        kProxyAuto = 1,
        kProxyManual = 2
    };
    static constexpr int kReadSize = 2048;
    static constexpr long kRequestTimeoutMs = 15000;
    static constexpr long kUploadTimeoutMs = 60000;
    // The longest answer read: a web service answers with a small document.
    static constexpr unsigned long long kMaxAnswerBytes = 64ULL * 1024 * 1024;

    CXMLHttp() = default;
    CXMLHttp(const CXMLHttp&) = delete;
    CXMLHttp& operator=(const CXMLHttp&) = delete;

    // Starts a new request: "GET" or "POST" (ASCII case ignored) to an
    // http or https address. Headers, proxy and time-out of an earlier
    // request are dropped. False (and nothing to send) for anything else.
    bool Open(const char* method, const unsigned short* url);
    bool Open(const char* method, const char* url);
    // Adds a request header (value UTF-16, sent as UTF-8). An empty name is
    // ignored.
    void SetRequestHeader(const char* name, const unsigned short* value);
    void SetRequestHeader(const char* name, const char* value);
    void SetProxy(
        int mode, const CSafeBuf& host, unsigned int port, const CSafeBuf& user, const CSafeBuf& password);
    // An upload waits up to kUploadTimeoutMs for the server; other requests
    // kRequestTimeoutMs.
    void SetUpload(bool upload);

    // Sends the opened request (the body only with POST). True for a 2xx
    // answer; false without an opened request.
    bool Send(const std::string& body = std::string());

    int GetStatus() const { return m_response.status; }
    const std::string& GetResponseText() const { return m_response.body; }
    // The address that answered, after redirects; empty before an answer.
    const std::string& GetFinalUrl() const { return m_response.finalUrl; }
    // Copies the next bytes of the body, at most min(size, kReadSize), into
    // buffer; answers how many (0 at the end or for a null buffer).
    int Read(char* buffer, int size);

    // The request as it will be (or was) sent.
    const qm::net::HttpRequest& Request() const { return m_request; }

private:
    qm::net::HttpRequest m_request;
    qm::net::HttpResponse m_response;
    bool m_opened = false;
    std::size_t m_readPos = 0;
};

// Adds "Content-Type" when contentType is given and not empty, then each
// non-empty field of the identifier header record (when given) under its
// header name, in field order.
void AddHttpHeaders(CXMLHttp* http, const ADDITIONAL_HTTP_HEADERS* headers, const char* contentType);
