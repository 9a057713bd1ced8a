// Uploading a local file to the image library service: doLibraryUpload
// carries the file Base64-encoded in numbered packets of at most
// kUploadPacketBytes bytes, all under one transaction id; the answer to the
// last packet names the URL the library stores the file under.

#include "editor/XHTML.h"

#include "base/codec/Base64.h"
#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/shims/TimeShims.h"
#include "base/url/UrlPath.h"
#include "base/xml/XmlLoad.h"
#include "editor/SoapEnvelope.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

// Error bits of FileUpload.
constexpr int kErrorNoService = 1;
constexpr int kErrorUnreadable = 2;
constexpr int kErrorUploadFailed = 4;
// Files larger than this are not read into memory for an upload.
constexpr std::size_t kMaxUploadBytes = 256u * 1024u * 1024u;

// A transaction id unique in this process and unlikely to repeat across
// processes: the local time, the tick count and a running count.
CSafeBuf NewTransactionId()
{
    static std::atomic<unsigned> counter{0};
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char id[64];
    std::snprintf(id, sizeof id, "%04d%02d%02d%02d%02d%02d-%08lX-%u", t.wYear, t.wMonth, t.wDay, t.wHour,
        t.wMinute, t.wSecond, static_cast<unsigned long>(GetTickCount()), ++counter);
    return CSafeBuf(id);
}

void AppendElement(CSafeBuf& body, const char* name, const CSafeBuf& text)
{
    CSafeBuf escaped(text);
    escaped.EscapeXML();
    body += "<";
    body += name;
    body += ">";
    body += escaped;
    body += "</";
    body += name;
    body += ">";
}

void AppendElement(CSafeBuf& body, const char* name, long value)
{
    CSafeBuf text;
    text.AppendInt(value);
    AppendElement(body, name, text);
}

} // namespace

bool CXHTML::FileUpload(const unsigned short* path, int& error, CSafeBuf& url, int kind)
{
    url.Empty();
    CSafeBuf service(m_imageLibraryURL);
    service.Trim();
    if (service.IsEmpty()) {
        error |= kErrorNoService;
        DisplayMessageBox("message-box/service-not-available");
        return false;
    }
    std::vector<unsigned char> bytes;
    if (!path || !ReadFileBytes(PathToSystem(path), bytes, kMaxUploadBytes) || bytes.empty()) {
        error |= kErrorUnreadable;
        DisplayMessageBox("message-box/upload-failed");
        return false;
    }
    CSafeBuf fileName;
    ParseFilename(CSafeBuf(path), nullptr, &fileName);
    const CSafeBuf transaction = NewTransactionId();
    const long size = static_cast<long>(bytes.size());
    const long packets = (size + kUploadPacketBytes - 1) / kUploadPacketBytes;

    for (long index = 0; index < packets; ++index) {
        const long offset = index * kUploadPacketBytes;
        const int length = static_cast<int>(std::min<long>(kUploadPacketBytes, size - offset));
        char* encoded = nullptr;
        int encodedLength = 0;
        if (!CBase64::Encode(reinterpret_cast<const char*>(bytes.data() + offset), length, encoded,
                encodedLength, false)) {
            error |= kErrorUploadFailed;
            DisplayMessageBox("message-box/upload-failed");
            return false;
        }
        CSafeBuf body("<doLibraryUpload xmlns='");
        body += kServiceNamespace;
        body += "'>";
        AppendElement(body, "lang", m_doc.m_language);
        AppendElement(body, "type", CSafeBuf(kind == 2 ? "image" : "attachment"));
        AppendElement(body, "transactionId", transaction);
        AppendElement(body, "fileName", fileName);
        AppendElement(body, "fileSize", size);
        AppendElement(body, "packetIndex", index + 1);
        AppendElement(body, "packetCount", packets);
        body += "<data>";
        body.Append(encoded, encodedLength);
        body += "</data></doLibraryUpload>";
        delete[] encoded;

        _xmlDoc* answer = nullptr;
        _xmlNode* result = nullptr;
        CSafeBuf prefix;
        if (!FetchSoapService(service, body, &answer, &result, prefix, false)) {
            error |= kErrorUploadFailed;
            DisplayMessageBox("message-box/upload-failed");
            return false;
        }
        if (index + 1 == packets)
            SoapResultValue(result, "url", url);
        XMLReleaseDom(answer);
    }
    if (url.IsEmpty()) {
        error |= kErrorUploadFailed;
        DisplayMessageBox("message-box/upload-failed");
        return false;
    }
    return true;
}
