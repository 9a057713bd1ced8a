// Uploading a local file to the image or attachment library service:
// doLibraryUpload
// carries the file Base64-encoded in numbered packets of at most
// kUploadPacketBytes bytes, all under one transaction id; the answer to the
// last packet names the URL the library stores the file under. A picture
// uploaded from the clipboard or a drop goes in as an img, any other file
// as a link to the stored file.

#include "editor/XHTML.h"

#include "base/codec/Base64.h"
#include "base/files/FileUtilsImage.h"
#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/shims/TimeShims.h"
#include "base/url/RelativeURL.h"
#include "base/url/UrlPath.h"
#include "base/xml/XmlLoad.h"
#include "editor/SoapEnvelope.h"
#include "element/Element.h"
#include "element/ElementPictures.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Error bits of FileUpload.
constexpr int kErrorNoService = 1;
constexpr int kErrorUnreadable = 2;
constexpr int kErrorUploadFailed = 4;
// Error bits of the inserting upload that DisplayUploadErrorMsg shows.
constexpr int kUploadTooLarge = 2;
constexpr int kUploadLocation = 4;
// Library kinds of doLibraryUpload.
constexpr int kImageUpload = 2;
constexpr int kAttachmentUpload = 1;
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

enum class UploadResult
{
    kStored,
    kNoService,
    kTooLarge,
    kUnreadable,
    kFailed
};

// Sends the file at path to the library service at service in packets and
// puts the URL it is stored under into url.
UploadResult UploadToLibrary(
    CXHTML& engine, const unsigned short* path, const CSafeBuf& service, int kind, CSafeBuf& url)
{
    url.Empty();
    CSafeBuf address(service);
    address.Trim();
    if (address.IsEmpty())
        return UploadResult::kNoService;
    std::vector<unsigned char> bytes;
    if (!path)
        return UploadResult::kUnreadable;
    const std::string systemPath = PathToSystem(path);
    if (!ReadFileBytes(systemPath, bytes, kMaxUploadBytes) || bytes.empty()) {
        // A file that is there but too large is told apart from one that
        // cannot be read.
        std::error_code failure;
        const auto size = std::filesystem::file_size(systemPath, failure);
        return !failure && size > kMaxUploadBytes ? UploadResult::kTooLarge : UploadResult::kUnreadable;
    }
    CSafeBuf fileName;
    ParseFilename(CSafeBuf(path), nullptr, &fileName);
    const CSafeBuf transaction = NewTransactionId();
    const long size = static_cast<long>(bytes.size());
    const long packets = (size + CXHTML::kUploadPacketBytes - 1) / CXHTML::kUploadPacketBytes;

    for (long index = 0; index < packets; ++index) {
        const long offset = index * CXHTML::kUploadPacketBytes;
        const int length = static_cast<int>(std::min<long>(CXHTML::kUploadPacketBytes, size - offset));
        char* encoded = nullptr;
        int encodedLength = 0;
        if (!CBase64::Encode(
                reinterpret_cast<const char*>(bytes.data() + offset), length, encoded, encodedLength, false))
            return UploadResult::kFailed;
        CSafeBuf body("<doLibraryUpload xmlns='");
        body += kServiceNamespace;
        body += "'>";
        AppendElement(body, "lang", engine.m_doc.m_language);
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
        if (!engine.FetchSoapService(address, body, &answer, &result, prefix, false))
            return UploadResult::kFailed;
        if (index + 1 == packets) {
            SoapResultValue(result, "url", url);
            // As a browser reads an address: tabs and line breaks in it are
            // no part of it (an attribute would turn them into blanks).
            for (const unsigned short c : {u'\t', u'\n', u'\r'})
                url.Remove(c);
        }
        XMLReleaseDom(answer);
    }
    return url.IsEmpty() ? UploadResult::kFailed : UploadResult::kStored;
}

// The file's bytes show a picture.
bool IsPictureFile(const unsigned short* path)
{
    char* utf8 = nullptr;
    CSafeBuf(path).CreateUTF8Str(&utf8);
    const bool picture = utf8 && CheckImageFileType(reinterpret_cast<const unsigned char*>(utf8)) != 0;
    delete[] utf8;
    return picture;
}

CSafeBuf Escaped(const CSafeBuf& text)
{
    CSafeBuf out(text);
    out.EscapeXML();
    return out;
}

} // namespace

bool CXHTML::FileUpload(const unsigned short* path, int& error, CSafeBuf& url, int kind)
{
    switch (UploadToLibrary(*this, path, m_imageLibraryURL, kind, url)) {
    case UploadResult::kStored: return true;
    case UploadResult::kNoService:
        error |= kErrorNoService;
        DisplayMessageBox("message-box/service-not-available");
        return false;
    case UploadResult::kTooLarge:
    case UploadResult::kUnreadable:
        error |= kErrorUnreadable;
        DisplayMessageBox("message-box/upload-failed");
        return false;
    case UploadResult::kFailed: break;
    }
    error |= kErrorUploadFailed;
    DisplayMessageBox("message-box/upload-failed");
    return false;
}

bool CXHTML::FileUpload(const unsigned short* path, int& errors)
{
    const bool picture = path && IsPictureFile(path);
    CSafeBuf url;
    switch (UploadToLibrary(*this, path, picture ? m_imageLibraryURL : m_attachmentLibraryURL,
        picture ? kImageUpload : kAttachmentUpload, url)) {
    case UploadResult::kStored: break;
    case UploadResult::kNoService: errors |= kUploadNoService; return false;
    case UploadResult::kTooLarge: errors |= kUploadTooLarge; return false;
    case UploadResult::kUnreadable:
    case UploadResult::kFailed: errors |= kUploadFailed; return false;
    }
    CSafeBuf markup;
    if (picture) {
        markup = "<img src=\"";
        markup += Escaped(url);
        markup += "\" alt=\"\" />";
    } else {
        CSafeBuf fileName;
        ParseFilename(CSafeBuf(path), nullptr, &fileName);
        markup = "<a href=\"";
        markup += Escaped(url);
        markup += "\">";
        markup += Escaped(fileName.IsEmpty() ? url : fileName);
        markup += "</a>";
    }
    if (!InsertHTMLCode(markup, false)) {
        errors |= kUploadLocation;
        return true;
    }
    if (m_doc.m_root)
        m_doc.m_root->CheckDocument();
    DocDrawDoc();
    DocUpdateKeyCursor();
    m_doc.Redraw();
    NotifyChange(true);
    if (picture)
        ImageUploaded(url);
    return true;
}

bool CXHTML::ImageUploaded(const unsigned short* url)
{
    if (!url)
        return false;
    CSafeBuf resolved;
    BuildRelativeURL(m_doc.m_baseURL, url, resolved);
    resolved.Trim();
    for (CSafeBuf& waiting : m_doc.m_uploadWaitingImages) {
        if (!waiting.IsEmpty() && waiting.CompareNoCase(resolved) == 0) {
            waiting.Empty();
            break;
        }
    }
    // Picture sources are told apart by case (ElementPictures.h): the
    // images are reloaded by the URL as it was resolved.
    return m_doc.m_root && !resolved.IsEmpty() && ReloadImageSrc(m_doc.m_root, resolved, nullptr);
}
