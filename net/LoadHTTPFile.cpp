#include "net/LoadHTTPFile.h"

#include "base/app/DebugLog.h"
#include "base/codec/MD5Checksum.h"
#include "base/collections/MapStringToString.h"
#include "base/files/FileUtilsPath.h"
#include "base/files/SystemPath.h"
#include "base/files/UserFolders.h"
#include "base/shims/FileShims.h"
#include "base/shims/TimeShims.h"
#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"
#include "base/url/UrlPath.h"
#include "net/AdditionalHeaders.h"
#include "net/HttpOwner.h"
#include "platform/net/Http.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

// Writes the bytes to a new file readable by the user only; a partly written
// file is removed.
bool WriteNewFile(const CSafeBuf& path, const std::string& bytes)
{
    std::string p = PathToSystem(static_cast<const unsigned short*>(path));
    if (p.empty())
        return false;
    int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0)
        ok = false;
    if (!ok)
        ::unlink(p.c_str());
    return ok;
}

void AddRecordHeaders(const ADDITIONAL_HTTP_HEADERS* record, qm::net::HttpHeaderList& out)
{
    if (!record)
        return;
    for (int i = 0; i < AdditionalHeaderCount(); ++i) {
        const unsigned short* value = AdditionalHeaderValue(record, i);
        if (value && *value)
            out.emplace_back(AdditionalHeaderName(i), ToUTF8String(value));
    }
}

void AddMapHeaders(CMapStringToString* map, qm::net::HttpHeaderList& out)
{
    if (!map)
        return;
    void* pos = map->GetStartPosition();
    while (pos) {
        CSafeBuf key, value;
        map->GetNextAssoc(pos, key, value);
        if (!key.IsEmpty())
            out.emplace_back(ToUTF8String(key), ToUTF8String(value));
    }
}

void SetProxy(qm::net::HttpRequest& request, const CSafeBuf& server, unsigned int port, const CSafeBuf& user,
    const CSafeBuf& password)
{
    request.proxyHost = ToUTF8String(server);
    request.proxyPort = port ? port : 80;
    request.proxyUser = ToUTF8String(user);
    request.proxyPassword = ToUTF8String(password);
}

bool Fetch(CHttpOwner* owner, const std::string& url, const CSafeBuf& target, long timeOut,
    ADDITIONAL_HTTP_HEADERS* headers, const CSafeBuf& proxyServer, unsigned int proxyPort,
    const CSafeBuf& proxyUser, const CSafeBuf& proxyPassword, const char* contentType,
    CMapStringToString* extraHeaders, std::string* finalUrl = nullptr)
{
    // The old copy goes first: whatever happens next, it is never read as the answer.
    DeleteFile(static_cast<const unsigned short*>(target));

    qm::net::HttpRequest request;
    request.url = url;
    request.idleTimeoutMs = timeOut > 0 ? timeOut : 15000;
    if (contentType && *contentType)
        request.headers.emplace_back("Content-Type", contentType);
    const ADDITIONAL_HTTP_HEADERS* record = headers;
    if (!record && owner)
        record = owner->HttpHeaders();
    AddRecordHeaders(record, request.headers);
    AddMapHeaders(extraHeaders, request.headers);

    if (!proxyServer.IsEmpty()) {
        SetProxy(request, proxyServer, proxyPort, proxyUser, proxyPassword);
    } else if (owner && owner->HttpUseProxy()) {
        CSafeBuf server, user, password;
        unsigned int port = 0;
        owner->HttpProxy(server, port, user, password);
        server.Trim();
        if (!server.IsEmpty())
            SetProxy(request, server, port, user, password);
    }

    const bool debug = owner && owner->HttpDebug();
    if (debug) {
        std::string head = request.url;
        for (const auto& h : request.headers)
            head += "\n" + h.first + ": " + h.second;
        WriteLogFile("Get - header", head.c_str(), static_cast<int>(head.size()));
    }

    qm::net::HttpResponse response = qm::net::HttpSend(request);
    if (finalUrl)
        *finalUrl = response.finalUrl;

    if (debug) {
        std::string line = std::to_string(response.status) + " " + request.url;
        if (!response.error.empty())
            line += " (" + response.error + ")";
        WriteLogFile("Get", line.c_str(), static_cast<int>(line.size()));
    }
    if (response.status < 200 || response.status > 299)
        return false;
    return WriteNewFile(target, response.body);
}

} // namespace

void GetHttpTempFileName(const unsigned short* location, CSafeBuf& out)
{
    out.Empty();
    const CSafeBuf& folder = GetUserTempFolder();
    if (folder.IsEmpty() || !location)
        return;
    char* digest = CMD5Checksum::GetMD5(
        reinterpret_cast<const unsigned char*>(location), static_cast<unsigned int>(U16len(location)) * 2u);
    if (!digest)
        return;
    char name[64];
    std::snprintf(name, sizeof name, "/%08lX-%.32s", GetCurrentThreadId() & 0xFFFFFFFFul, digest);
    delete[] digest;
    out = folder;
    out += name;
}

namespace {

// Where a fetched document goes: the file asked for, else a temporary file
// named after the address. False when there is no such place.
bool DownloadTarget(const unsigned short* location, const CSafeBuf& targetFile, CSafeBuf& target)
{
    if (!targetFile.IsEmpty())
        target = targetFile;
    else
        GetHttpTempFileName(location, target);
    return !target.IsEmpty();
}

} // namespace

bool LoadHTTPFile(void* owner, const unsigned short* location, CSafeBuf& localFile, CSafeBuf&, long timeOut,
    CSafeBuf& targetFile, ADDITIONAL_HTTP_HEADERS* headers, CSafeBuf&, int*, CSafeBuf& proxyServer,
    unsigned int proxyPort, CSafeBuf& proxyUser, CSafeBuf& proxyPassword, CSafeBuf&, void*,
    const char* contentType, CMapStringToString* extraHeaders, unsigned short*)
{
    try {
        localFile.Empty();
        if (!location || !*location)
            return false;
        CSafeBuf loc(location);
        const std::string url = ToUTF8String(location);

        if (StartsWithNoCase(url, "http:") || StartsWithNoCase(url, "https:")) {
            CSafeBuf target;
            if (!DownloadTarget(location, targetFile, target))
                return false; // nowhere to put the document
            localFile = target;
            return Fetch(FromHttpOwner(owner), url, target, timeOut, headers, proxyServer, proxyPort,
                proxyUser, proxyPassword, contentType, extraHeaders);
        }

        ParseLocalURL(loc);
        localFile = loc;
        return DoesFileExist(localFile);
    } catch (...) {
        return false;
    }
}

bool LoadHTTPFileFrom(void* owner, const unsigned short* location, CSafeBuf& localFile, CSafeBuf& targetFile,
    const char* contentType, std::string& finalUrl)
{
    try {
        localFile.Empty();
        finalUrl.clear();
        if (!location || !*location)
            return false;
        const std::string url = ToUTF8String(location);
        if (StartsWithNoCase(url, "http:") || StartsWithNoCase(url, "https:")) {
            CSafeBuf target;
            if (!DownloadTarget(location, targetFile, target))
                return false; // nowhere to put the document
            localFile = target;
            CSafeBuf none;
            return Fetch(FromHttpOwner(owner), url, target, -1, nullptr, none, 80, none, none, contentType,
                nullptr, &finalUrl);
        }
        CSafeBuf loc(location);
        ParseLocalURL(loc);
        localFile = loc;
        finalUrl = url;
        return DoesFileExist(localFile);
    } catch (...) {
        return false;
    }
}
