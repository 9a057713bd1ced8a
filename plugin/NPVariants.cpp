#include "plugin/NPVariants.h"

#include "base/text/Utf.h"
#include "plugin/NPBrowser.h"

#include <climits>
#include <cstring>

namespace {

int TextLength(const unsigned short* text)
{
    int n = 0;
    while (text[n] && n < INT_MAX)
        ++n;
    return n;
}

// A browser block holding the bytes and a terminating zero; null without a
// browser or memory.
char* BrowserCopy(const unsigned char* bytes, int length)
{
    if (!browser || !browser->memalloc || length < 0)
        return nullptr;
    auto* block = static_cast<char*>(browser->memalloc(static_cast<std::uint32_t>(length) + 1));
    if (!block)
        return nullptr;
    if (length > 0)
        std::memcpy(block, bytes, static_cast<std::size_t>(length));
    block[length] = 0;
    return block;
}

} // namespace

void GetStringFromNPString(const NPString& string, CSafeBuf& text)
{
    text.Empty();
    if (!string.UTF8Characters || string.UTF8Length == 0 || string.UTF8Length > INT_MAX - 1)
        return;
    unsigned short* units = nullptr;
    UTF82Unicode(reinterpret_cast<const unsigned char*>(string.UTF8Characters), &units,
        static_cast<int>(string.UTF8Length));
    if (units)
        text = static_cast<const unsigned short*>(units);
    delete[] units;
}

bool CreateEmptyStringNPVariant(NPVariant* variant)
{
    if (!variant)
        return false;
    char* block = BrowserCopy(nullptr, 0);
    if (!block)
        return false;
    qm::np::SetString(*variant, block, 0);
    return true;
}

bool SetStringToNPVariant(const unsigned short* text, int length, NPVariant* variant)
{
    if (!variant)
        return false;
    if (text && length < 0)
        length = TextLength(text);
    if (!text || length <= 0)
        return CreateEmptyStringNPVariant(variant);
    // Three bytes a unit at most: beyond that the length cannot be held.
    if (length > (INT_MAX - 1) / 3)
        return false;
    unsigned char* utf8 = nullptr;
    const int bytes = Unicode2UTF8(text, &utf8, length);
    char* block = utf8 ? BrowserCopy(utf8, bytes) : nullptr;
    delete[] utf8;
    if (!block)
        return false;
    qm::np::SetString(*variant, block, static_cast<std::uint32_t>(bytes));
    return true;
}

bool SetStringToNPVariant(unsigned short* text, NPVariant* variant, bool freeText)
{
    const bool done = SetStringToNPVariant(text, -1, variant);
    if (freeText)
        delete[] text;
    return done;
}

void GetStringFromName(NPIdentifier name, CSafeBuf& text)
{
    text.Empty();
    if (!name || !browser || !browser->identifierisstring || !browser->utf8fromidentifier)
        return;
    if (!browser->identifierisstring(name))
        return;
    NPUTF8* utf8 = browser->utf8fromidentifier(name);
    if (!utf8)
        return;
    NPString string;
    string.UTF8Characters = utf8;
    string.UTF8Length = static_cast<std::uint32_t>(std::strlen(utf8));
    GetStringFromNPString(string, text);
    // The browser made the copy for the caller, who frees it the browser's way.
    if (browser->memfree)
        browser->memfree(utf8);
}

void GetValueFromNPVariant(const NPVariant* variant, CSafeBuf& text, int& number)
{
    number = 0;
    text.Empty();
    if (!variant)
        return;
    switch (variant->type) {
    case NPVariantType_Bool: number = variant->value.boolValue ? 1 : 0; break;
    case NPVariantType_Int32: number = variant->value.intValue; break;
    case NPVariantType_String: GetStringFromNPString(variant->value.stringValue, text); break;
    default: break;
    }
}

void SetBoolToNPVaraint(bool value, NPVariant* variant)
{
    if (variant)
        qm::np::SetBool(*variant, value);
}

void SetIntToNPVaraint(int value, NPVariant* variant)
{
    if (variant)
        qm::np::SetInt32(*variant, value);
}
