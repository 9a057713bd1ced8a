#include "net/XMLHttp.h"

#include "base/text/Ascii.h"
#include "base/text/Utf.h"
#include "net/AdditionalHeaders.h"

#include <algorithm>
#include <cstring>

namespace {

bool SameNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
    }
    return *a == *b;
}

} // namespace

bool CXMLHttp::Open(const char* method, const char* url)
{
    m_request = qm::net::HttpRequest();
    m_response = qm::net::HttpResponse();
    m_readPos = 0;
    m_opened = false;
    if (!method || !url)
        return false;
    const std::string address(url);
    if (!StartsWithNoCase(address, "http:") && !StartsWithNoCase(address, "https:"))
        return false;
    if (SameNoCase(method, "GET"))
        m_request.method = "GET";
    else if (SameNoCase(method, "POST"))
        m_request.method = "POST";
    else
        return false;
    m_request.url = address;
    m_request.idleTimeoutMs = kRequestTimeoutMs;
    m_request.maxBodyBytes = kMaxAnswerBytes;
    m_opened = true;
    return true;
}

bool CXMLHttp::Open(const char* method, const unsigned short* url)
{
    if (!url)
        return Open(method, static_cast<const char*>(nullptr));
    return Open(method, ToUTF8String(url).c_str());
}

void CXMLHttp::SetRequestHeader(const char* name, const char* value)
{
    if (!name || !*name)
        return;
    m_request.headers.emplace_back(name, value ? value : "");
}

void CXMLHttp::SetRequestHeader(const char* name, const unsigned short* value)
{
    SetRequestHeader(name, value ? ToUTF8String(value).c_str() : "");
}

void CXMLHttp::SetProxy(
    int mode, const CSafeBuf& host, unsigned int port, const CSafeBuf& user, const CSafeBuf& password)
{
    m_request.proxyHost.clear();
    m_request.proxyPort = 80;
    m_request.proxyUser.clear();
    m_request.proxyPassword.clear();
    if (mode != kProxyManual)
        return;
    CSafeBuf server(host);
    server.Trim();
    if (server.IsEmpty())
        return;
    m_request.proxyHost = ToUTF8String(server);
    m_request.proxyPort = port ? port : 80;
    m_request.proxyUser = ToUTF8String(user);
    m_request.proxyPassword = ToUTF8String(password);
}

void CXMLHttp::SetUpload(bool upload)
{
    m_request.idleTimeoutMs = upload ? kUploadTimeoutMs : kRequestTimeoutMs;
}

bool CXMLHttp::Send(const std::string& body)
{
    m_response = qm::net::HttpResponse();
    m_readPos = 0;
    if (!m_opened)
        return false;
    m_request.body = m_request.method == "POST" ? body : std::string();
    m_response = qm::net::HttpSend(m_request);
    return m_response.status >= 200 && m_response.status <= 299;
}

int CXMLHttp::Read(char* buffer, int size)
{
    if (!buffer || size <= 0 || m_readPos >= m_response.body.size())
        return 0;
    const std::size_t n = std::min({static_cast<std::size_t>(size), static_cast<std::size_t>(kReadSize),
        m_response.body.size() - m_readPos});
    std::memcpy(buffer, m_response.body.data() + m_readPos, n);
    m_readPos += n;
    return static_cast<int>(n);
}

void AddHttpHeaders(CXMLHttp* http, const ADDITIONAL_HTTP_HEADERS* headers, const char* contentType)
{
    if (!http)
        return;
    if (contentType && *contentType)
        http->SetRequestHeader("Content-Type", contentType);
    if (!headers)
        return;
    for (int i = 0; i < AdditionalHeaderCount(); ++i) {
        const unsigned short* value = AdditionalHeaderValue(headers, i);
        if (value && *value)
            http->SetRequestHeader(AdditionalHeaderName(i), value);
    }
}
