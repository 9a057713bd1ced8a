#include "platform/net/HttpRedirect.h"

#include "platform/common/Ascii.h"

#include <curl/curl.h>

#include <memory>

namespace qm::net {

namespace {

struct UrlDeleter
{
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
typedef std::unique_ptr<CURLU, UrlDeleter> UrlHandle;

// One part of a parsed address; empty when it has none.
std::string Part(CURLU* url, CURLUPart part, unsigned int flags = 0)
{
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || !text)
        return std::string();
    std::string out(text);
    curl_free(text);
    return out;
}

bool IsWebScheme(const std::string& scheme)
{
    return ascii::EqualNoCase(scheme, "http") || ascii::EqualNoCase(scheme, "https");
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = ascii::Lower(c);
    return text;
}

} // namespace

bool IsRedirectStatus(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string ResolveRedirect(const std::string& base, const std::string& location)
{
    UrlHandle url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK)
        return std::string();
    // A relative location is read against the address already held; blanks
    // and bytes above 127 are escaped, as browsers send them.
    if (curl_url_set(url.get(), CURLUPART_URL, location.c_str(), CURLU_URLENCODE | CURLU_ALLOW_SPACE)
        != CURLUE_OK)
        return std::string();
    if (!IsWebScheme(Part(url.get(), CURLUPART_SCHEME)))
        return std::string();
    return Part(url.get(), CURLUPART_URL);
}

std::string OriginOf(const std::string& address)
{
    UrlHandle url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, address.c_str(), 0) != CURLUE_OK)
        return std::string();
    const std::string scheme = Lowered(Part(url.get(), CURLUPART_SCHEME));
    const std::string host = Lowered(Part(url.get(), CURLUPART_HOST));
    const std::string port = Part(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    if (!IsWebScheme(scheme) || host.empty() || port.empty())
        return std::string();
    return scheme + "://" + host + ":" + port;
}

} // namespace qm::net
