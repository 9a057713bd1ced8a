#pragma once
// LoadHTTPFile: turns a location into a local file that the caller can read.
//
//   - "http:" and "https:" locations (ASCII case ignored) are fetched with GET
//     and the body is stored in targetFile when one is given (the old file is
//     deleted first), otherwise in the per-user temporary folder under a name
//     made of the calling thread's identifier and the MD5 digest of the
//     location. The answer is true only for a 2xx answer whose body was
//     stored; on any failure no file is left under that name, so a stale copy
//     is never read as the new document.
//   - "file://" locations become local paths (ParseLocalURL in
//     base/url/UrlPath.h); any other location is a local path. The answer is
//     true when that file can be read.
// localFile receives the local path in every case (empty only when there is
// no place to store a fetched document: no temporary folder and no target).
//
// The request carries, in this order: "Content-Type" when contentType is given
// and not empty, the non-empty fields of the identifier header record
// (`headers`, or the owner's record when `headers` is null), then the pairs of
// extraHeaders. These go only to the host asked: a redirect to another
// scheme, host or port is followed without any of them (platform/net/Http.h).
// The proxy is proxyServer:proxyPort (port 0 reads as 80) with
// Basic credentials when proxyUser is given; with an empty proxyServer the
// owner's proxy is used when its proxy switch is on, else none. timeOut is the
// idle time in milliseconds; 0 or less (callers pass -1) means 15000.
//
// owner: null, or a CHttpOwner* converted to void* (see net/HttpOwner.h).
// The arguments without names are kept for the callers' calling shape and not
// read.

#include "base/text/SafeBuf.h"

#include <string>

class CMapStringToString;
struct ADDITIONAL_HTTP_HEADERS;

bool LoadHTTPFile(void* owner, const unsigned short* location, CSafeBuf& localFile, CSafeBuf&, long timeOut,
    CSafeBuf& targetFile, ADDITIONAL_HTTP_HEADERS* headers, CSafeBuf&, int*, CSafeBuf& proxyServer,
    unsigned int proxyPort, CSafeBuf& proxyUser, CSafeBuf& proxyPassword, CSafeBuf&, void*,
    const char* contentType, CMapStringToString* extraHeaders, unsigned short*);

// LoadHTTPFile with the owner's identifier headers and proxy, no time-out
// of its own and no extra headers; finalUrl receives the address that
// answered after redirects (empty when none did), or the location itself
// when it is not a web address.
bool LoadHTTPFileFrom(void* owner, const unsigned short* location, CSafeBuf& localFile, CSafeBuf& targetFile,
    const char* contentType, std::string& finalUrl);

// The temporary file name used for a fetched location when no target is
// given: the temporary folder, "/", the thread identifier in upper-case hex,
// "-" and the 32-digit MD5 of the location's UTF-16 units. Empty when there is
// no temporary folder or no digest. The name's length does not depend on the
// location.
void GetHttpTempFileName(const unsigned short* location, CSafeBuf& out);
