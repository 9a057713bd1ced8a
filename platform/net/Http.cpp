// libcurl transport for platform/net, and HttpSend, which follows redirects
// hop by hop over whichever transport is installed. libcurl's headers stay in
// this module's .cpp files.

#include "platform/net/Http.h"

#include "platform/common/Ascii.h"
#include "platform/events/Services.h"
#include "platform/net/HttpRedirect.h"

#include <curl/curl.h>

#include <mutex>
#include <new>

namespace qm::net {

namespace {

const long kDefaultIdleMs = 15000;
const int kMaxRedirects = 10;

bool IsTokenChar(unsigned char c)
{
    // RFC 7230 token characters.
    if (ascii::IsAlnum(c))
        return true;
    switch (c) {
    case '!':
    case '#':
    case '$':
    case '%':
    case '&':
    case '\'':
    case '*':
    case '+':
    case '-':
    case '.':
    case '^':
    case '_':
    case '`':
    case '|':
    case '~': return true;
    default: return false;
    }
}

bool IsValidHeaderName(const std::string& name)
{
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (!IsTokenChar(c))
            return false;
    return true;
}

std::string CleanHeaderValue(const std::string& value)
{
    std::string out = value;
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    // Leading blanks would be eaten by the protocol anyway; keep the value as given otherwise.
    return out;
}

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n'))
        --e;
    return s.substr(b, e - b);
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

unsigned long long BodyLimit(const HttpRequest& request)
{
    return request.maxBodyBytes == 0 || request.maxBodyBytes > kMaxHttpBodyBytes ? kMaxHttpBodyBytes
                                                                                 : request.maxBodyBytes;
}

// Where the body goes while it arrives, and how long it may grow.
struct BodySink
{
    HttpResponse* response;
    unsigned long long limit;
};

size_t OnBody(char* data, size_t size, size_t count, void* user)
{
    BodySink* sink = static_cast<BodySink*>(user);
    HttpResponse* response = sink->response;
    size_t n = size * count;
    if (n > sink->limit || response->body.size() > sink->limit - n)
        return 0; // too long: makes libcurl abandon the transfer
    try {
        response->body.append(data, n);
    } catch (...) {
        return 0; // makes libcurl abandon the transfer
    }
    return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user)
{
    HttpResponse* response = static_cast<HttpResponse*>(user);
    size_t n = size * count;
    try {
        std::string line(data, n);
        if (line.compare(0, 5, "HTTP/") == 0) {
            // A new answer begins (after a redirect or an interim 1xx): keep only its headers.
            response->headers.clear();
            return n;
        }
        size_t colon = line.find(':');
        if (colon != std::string::npos && colon > 0)
            response->headers.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
    } catch (...) {
        return 0;
    }
    return n;
}

class CurlTransport : public NetworkDriver
{
public:
    HttpResponse Send(const HttpRequest& request) override;
};

HttpResponse CurlTransport::Send(const HttpRequest& request)
{
    HttpResponse response;
    InitCurlOnce();

    const bool post = ascii::EqualNoCase(request.method, "POST");
    if (!post && !ascii::EqualNoCase(request.method, "GET")) {
        response.error = "unsupported method";
        return response;
    }
    if (request.url.empty()) {
        response.error = "empty address";
        return response;
    }

    CURL* curl = curl_easy_init();
    if (!curl) {
        response.error = "cannot start a transfer";
        return response;
    }

    curl_slist* headers = nullptr;
    bool listOk = true;
    for (const auto& h : request.headers) {
        if (!IsValidHeaderName(h.first))
            continue;
        std::string value = CleanHeaderValue(h.second);
        // "Name;" sends a header with an empty value; "Name:" would remove it.
        std::string line = value.empty() ? h.first + ";" : h.first + ": " + value;
        curl_slist* next = curl_slist_append(headers, line.c_str());
        if (!next) {
            listOk = false;
            break;
        }
        headers = next;
    }
    if (listOk && post) {
        // No "Expect: 100-continue" round trip before the body.
        curl_slist* next = curl_slist_append(headers, "Expect:");
        if (next)
            headers = next;
        else
            listOk = false;
    }

    long idleMs = request.idleTimeoutMs > 0 ? request.idleTimeoutMs : kDefaultIdleMs;
    long idleSeconds = (idleMs + 999) / 1000;

    std::string errorText(CURL_ERROR_SIZE + 1, '\0');

    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // One hop: HttpSend follows redirects itself, deciding per hop which headers go.
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, idleMs);
    // Idle time-out: abandon when less than one byte a second arrives for the idle time.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, idleSeconds);
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 2048L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, &errorText[0]);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    BodySink sink{&response, BodyLimit(request)};
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    // An answer that announces a longer body is refused before it comes.
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(sink.limit));
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response);
    if (headers)
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    if (post) {
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
    } else {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    }

    if (request.proxyHost.empty()) {
        // An explicit empty proxy also overrides proxy variables in the environment.
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
    } else {
        curl_easy_setopt(curl, CURLOPT_PROXY, request.proxyHost.c_str());
        curl_easy_setopt(
            curl, CURLOPT_PROXYPORT, static_cast<long>(request.proxyPort ? request.proxyPort : 80));
        curl_easy_setopt(curl, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
        if (!request.proxyUser.empty()) {
            curl_easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
            curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
        }
    }

    CURLcode rc = listOk ? curl_easy_perform(curl) : CURLE_OUT_OF_MEMORY;
    long status = 0;
    if (rc == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (rc == CURLE_OK && status > 0) {
        response.status = static_cast<int>(status);
        response.finalUrl = request.url;
    } else {
        response.status = 404;
        response.body.clear();
        response.headers.clear();
        response.error = errorText.c_str();
        if (response.error.empty())
            response.error = rc == CURLE_OK ? "no answer" : curl_easy_strerror(rc);
    }

    curl_easy_cleanup(curl);
    curl_slist_free_all(headers);
    return response;
}

CurlTransport& DefaultTransport()
{
    static CurlTransport transport;
    return transport;
}

HttpResponse Failed(const char* why)
{
    HttpResponse failed;
    failed.error = why;
    return failed;
}

} // namespace

HttpResponse HttpSend(const HttpRequest& request)
{
    try {
        NetworkDriver* driver = events::Services::Get().Network();
        if (!driver)
            driver = &DefaultTransport();
        const std::string origin = OriginOf(request.url);
        HttpRequest hop = request;
        for (int redirects = 0;; ++redirects) {
            HttpResponse response = driver->Send(hop);
            if (response.body.size() > BodyLimit(hop))
                return Failed("answer too long");
            if (response.status <= 0) {
                response.status = 404;
                response.body.clear();
                response.headers.clear();
                return response;
            }
            const std::string* location
                = IsRedirectStatus(response.status) ? FindHttpHeader(response.headers, "Location") : nullptr;
            if (!location) {
                response.finalUrl = hop.url;
                return response;
            }
            if (redirects == kMaxRedirects)
                return Failed("too many redirects");
            std::string next = ResolveRedirect(hop.url, *location);
            if (next.empty())
                return Failed("redirect to an address that is not http or https");
            // The caller's headers belong to the origin asked: from the first
            // hop that leaves it on, none of them is sent again.
            if (origin.empty() || OriginOf(next) != origin)
                hop.headers.clear();
            // As browsers do: 303 asks for a GET, and so do 301 and 302 after a
            // POST; 307 and 308 repeat the request as it was.
            const bool post = ascii::EqualNoCase(hop.method, "POST");
            if (response.status == 303 || (post && (response.status == 301 || response.status == 302))) {
                hop.method = "GET";
                hop.body.clear();
            }
            hop.url = std::move(next);
        }
    } catch (...) {
        return Failed("transfer failed");
    }
}

const std::string* FindHttpHeader(const HttpHeaderList& headers, const std::string& name)
{
    for (const auto& h : headers)
        if (ascii::EqualNoCase(h.first, name))
            return &h.second;
    return nullptr;
}

} // namespace qm::net
