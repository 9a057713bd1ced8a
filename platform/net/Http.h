#pragma once
// Blocking HTTP requests: the network service of the platform layer.
//
// One request goes out, its answer comes back whole. The model is the one the
// rest of the system was written against:
//   - GET or POST, with any number of extra request headers and, for POST, a
//     body sent as it is;
//   - an optional HTTP proxy (host and port) with optional Basic credentials;
//     without a proxy host the request goes direct, whatever the environment
//     says;
//   - redirects (301, 302, 303, 307, 308 with a Location) are followed hop
//     by hop, to http and https addresses only, at most ten; 303, and 301 or
//     302 after a POST, continue with a GET without body, 307 and 308 repeat
//     the request;
//   - the request's headers go only to the origin asked (its scheme, host and
//     port): from the first redirect that leaves it on, none of them is sent,
//     so an identifier or a cookie never reaches another site;
//   - the answer is read until the server stops sending for the idle time;
//     a body longer than the request's limit (kMaxHttpBodyBytes unless the
//     caller asks for less) is abandoned, so a server that never stops
//     sending cannot use up the memory;
//   - any failure to get an answer (no connection, time-out, too many
//     redirects, bad address) reads as status 404 with an empty body, so
//     callers test the status only. A real status from the server (including
//     its own 404 page) is passed on with its body.
//
// Header names and values are 8-bit (values UTF-8). A header whose name is
// empty or holds characters that cannot appear in a field name is left out;
// CR and LF in values become blanks, so a value can never start a header line
// of its own.
//
// The default transport is libcurl. A host that drives the system (a test, the
// command-line runner) may install its own network driver in the process's
// Services (platform/events/Services.h); requests then go to that driver, one
// hop at a time, and its redirect answers are followed as above.

#include <string>
#include <utility>
#include <vector>

namespace qm::net {

typedef std::vector<std::pair<std::string, std::string>> HttpHeaderList;

// The longest answer body read when a request names no limit of its own: more
// than the largest picture file accepted.
constexpr unsigned long long kMaxHttpBodyBytes = 512ULL * 1024 * 1024;

struct HttpRequest
{
    std::string method = "GET";  // "GET" or "POST"
    std::string url;             // http:// or https://
    HttpHeaderList headers;      // sent to the origin asked only (see above)
    std::string body;            // POST only
    std::string proxyHost;       // empty: direct connection
    unsigned int proxyPort = 80; // 0 reads as 80
    std::string proxyUser;       // empty: no proxy credentials
    std::string proxyPassword;
    long idleTimeoutMs = 15000; // <= 0 reads as 15000; counted in whole seconds, rounded up
    // A longer body fails the request (status 404, empty body); 0 reads as
    // kMaxHttpBodyBytes, and so does anything above it.
    unsigned long long maxBodyBytes = 0;
};

struct HttpResponse
{
    int status = 404;
    HttpHeaderList headers; // of the final answer, in arrival order
    std::string body;
    std::string finalUrl; // the address that answered, after redirects
    std::string error;    // why no answer came; empty when one did
};

// A network driver that a host installs in Services in place of libcurl.
class NetworkDriver
{
public:
    virtual ~NetworkDriver() = default;
    // Sends the one request and answers what came back, a redirect answer
    // included: it follows no redirect itself.
    virtual HttpResponse Send(const HttpRequest& request) = 0;
};

// Sends the request through the installed network driver, or libcurl when none
// is installed. Never throws; a failure is status 404 with an empty body.
HttpResponse HttpSend(const HttpRequest& request);

// The first header of the list with the given name (compared without regard to
// ASCII case), or null.
const std::string* FindHttpHeader(const HttpHeaderList& headers, const std::string& name);

} // namespace qm::net
