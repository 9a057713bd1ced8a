#pragma once
// Redirect answers, read hop by hop by HttpSend: which statuses redirect,
// where a Location points, and which origin (scheme, host, port) an address
// belongs to. Addresses are read with libcurl's URL parser, the one the
// transfer itself uses, so an origin compared here is the one a request
// really goes to.

#include <string>

namespace qm::net {

// 301, 302, 303, 307 and 308: the answers whose Location is followed.
bool IsRedirectStatus(int status);

// The absolute address of location read against base (location may be
// relative); empty when either cannot be read or the result is not an http
// or https address.
std::string ResolveRedirect(const std::string& base, const std::string& location);

// "scheme://host:port" of an http or https address, scheme and host in
// lower case and the scheme's default port filled in; empty for anything
// else.
std::string OriginOf(const std::string& url);

} // namespace qm::net
