#include "editor/EnglishTexts.h"

#include "base/app/LangString.h"

#include <cstring>

namespace {

struct KeyText
{
    const char* key;
    const char* text;
};

const KeyText kTexts[] = {
    {"message-box/title-failure", "Failure"},
    {"message-box/title-information", "Reminder"},
    {"message-box/title-operation-failed", "Operation failed"},
    {"message-box/button-ok", "OK"},
    {"message-box/element-locked", "This element is locked and cannot be changed."},
    {"message-box/cannot-insert-into-given-location", "The content cannot be inserted at this location."},
    {"message-box/upload-exceeds-size-limit", "The file is larger than the size limit."},
    {"message-box/upload-unsupported-type", "Files of this type cannot be uploaded."},
    {"message-box/invalid-object-name", "The file name is not valid."},
    {"message-box/upload-failed", "The file could not be uploaded."},
    {"message-box/service-not-available", "This service is not available."},
    {"message-box/save-failed", "The file could not be saved."},
    {"message-box/download-failed", "The file could not be downloaded."},
    {"message-box/subdoc-invalid", "The sub-document could not be inserted."},
    {"common-dialog/title-common", "Properties"},
    {"common-dialog/title-link", "Link"},
    {"common-dialog/title-image", "Image"},
    {"common-dialog/title-table", "Properties"},
};

} // namespace

const char* EnglishText(const char* key)
{
    if (!key)
        return nullptr;
    for (const KeyText& t : kTexts)
        if (std::strcmp(t.key, key) == 0)
            return t.text;
    return nullptr;
}

CSafeBuf EngineText(const CLangString* table, const char* key, const char* fallback)
{
    const char* english = EnglishText(key);
    if (!english)
        english = fallback ? fallback : "";
    const CSafeBuf englishText(reinterpret_cast<const unsigned char*>(english));
    if (!table)
        return englishText;
    // A loaded table answers a key it lacks with the key itself: the
    // English text is shown then, never the key.
    CSafeBuf text = table->GetItem(key, english);
    if (*english && text == CSafeBuf(reinterpret_cast<const unsigned char*>(key ? key : "")))
        return englishText;
    return text;
}
