// Page script on the control: fuzzed names (the control's own, in any case,
// others, and integer identifiers) and values of every variant type go to
// the has-, get-, set- and invoke-calls of a new control, through a
// browser table whose memory this target keeps count of, with web answers
// from fuzz bytes. Afterwards:
//   - every string the control hands over lies in a block of the browser's
//     memory, is zero-terminated at its length and is well-formed UTF-8;
//   - every identifier name the browser made for the control was freed, and
//     nothing else of the browser's memory is left;
//   - a write is refused only for the five read-only names, and a name has
//     a property exactly when its read is not left alone;
//   - ProxySetting reads as one of its three words, IndentOutput is
//     "Friendly" or "Compact", every header field ends inside its array.

#include "base/text/SafeBuf.h"
#include "fuzz/FakeNetwork.h"
#include "fuzz/FuzzText.h"
#include "net/AdditionalHeaders.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/NPBrowser.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kNames[] = {"Value", "BackgroundColor", "ToolbarWysiwyg", "ShowToolbar", "Styles", "Icons",
    "Lang", "CSS", "IndentOutput", "ImageLibraryURL", "Debug", "Base", "EscapeUnicode", "Version",
    "Localization", "ScreenReaderXSLT", "DocumentID", "ObjectID", "Options", "ProductName", "LatestVersion",
    "Cookie", "Mode", "EnablePasteMarkup", "Buttons", "SelectedText", "TagList", "TagListXML", "ProxySetting",
    "ProxyServer", "ProxyPort", "PreviewXSLT", "HeartbeatInterval", "Placeholders", "ScriptNewWindow", "Path",
    "QPath", "CMSImageLibraryURL", "ToolbarEffect", "CustomInlineElements", "SubdocumentURL", "Rel", "Rev",
    "Fix", "CurrentStyles", "InsertText", "InsertXML", "ApplyStyleID", "CallToolbarButton", "toString",
    "SetAttribute", "RemoveAttribute", "AddToContextMenu", "ClearContextMenu", "ClearCache"};
constexpr int kNameCount = sizeof(kNames) / sizeof(kNames[0]);
const char* const kReadOnly[] = {"Version", "SelectedText", "SelectedXML", "TagList", "TagListXML"};

struct Identifier
{
    bool isString;
    std::string name;
    std::int32_t value;
};

std::deque<Identifier> g_identifiers;
std::map<void*, std::size_t> g_blocks; // the browser's memory still held

void* MemAlloc(std::uint32_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (block)
        g_blocks[block] = size;
    return block;
}

void MemFree(void* block)
{
    if (!block)
        return;
    if (!g_blocks.erase(block))
        std::abort(); // not the browser's, or freed twice
    std::free(block);
}

bool IdentifierIsString(NPIdentifier id) { return static_cast<Identifier*>(id)->isString; }

NPUTF8* UTF8FromIdentifier(NPIdentifier id)
{
    const Identifier* i = static_cast<Identifier*>(id);
    if (!i->isString)
        return nullptr;
    auto* copy = static_cast<char*>(MemAlloc(static_cast<std::uint32_t>(i->name.size() + 1)));
    std::memcpy(copy, i->name.c_str(), i->name.size() + 1);
    return copy;
}

void ReleaseVariantValue(NPVariant* v)
{
    if (v->type == NPVariantType_String)
        MemFree(const_cast<NPUTF8*>(v->value.stringValue.UTF8Characters));
    qm::np::SetVoid(*v);
}

NPIdentifier Name(FuzzedDataProvider& fdp)
{
    Identifier id{true, "", 0};
    switch (fdp.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
    case 1: {
        id.name = kNames[fdp.ConsumeIntegralInRange<int>(0, kNameCount - 1)];
        for (char& c : id.name) {
            if (fdp.ConsumeBool())
                c = static_cast<char>(c ^ 0x20);
        }
        break;
    }
    case 2: id.name = fdp.ConsumeRandomLengthString(16); break;
    default:
        id.isString = false;
        id.value = fdp.ConsumeIntegral<std::int32_t>();
        break;
    }
    if (id.isString)
        id.name = id.name.c_str(); // the browser's names hold no zero
    g_identifiers.push_back(id);
    return &g_identifiers.back();
}

// A variant the browser owns: its string in the browser's memory.
void Value(FuzzedDataProvider& fdp, NPVariant& v)
{
    switch (fdp.ConsumeIntegralInRange<int>(0, 6)) {
    case 0: qm::np::SetVoid(v); break;
    case 1: qm::np::SetNull(v); break;
    case 2: qm::np::SetBool(v, fdp.ConsumeBool()); break;
    case 3: qm::np::SetInt32(v, fdp.ConsumeIntegral<std::int32_t>()); break;
    case 4: qm::np::SetDouble(v, fdp.ConsumeFloatingPoint<double>()); break;
    default: {
        const std::string text = fdp.ConsumeRandomLengthString(300);
        auto* block = static_cast<char*>(MemAlloc(static_cast<std::uint32_t>(text.size())));
        std::memcpy(block, text.data(), text.size());
        qm::np::SetString(v, block, static_cast<std::uint32_t>(text.size()));
        break;
    }
    }
}

bool WellFormedUTF8(const unsigned char* s, std::size_t n)
{
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        std::size_t more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
        if (more == 9 || i + more >= n)
            return false;
        for (std::size_t k = 1; k <= more; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += more + 1;
    }
    return true;
}

// A result the control handed over: checked, then released.
void CheckResult(NPVariant& v)
{
    if (v.type == NPVariantType_String) {
        auto* chars = const_cast<NPUTF8*>(v.value.stringValue.UTF8Characters);
        const auto at = g_blocks.find(chars);
        const std::uint32_t n = v.value.stringValue.UTF8Length;
        if (at == g_blocks.end() || at->second < std::size_t(n) + 1 || chars[n] != 0
            || !WellFormedUTF8(reinterpret_cast<const unsigned char*>(chars), n))
            std::abort();
    }
    ReleaseVariantValue(&v);
}

bool IsReadOnly(const Identifier& id)
{
    if (!id.isString)
        return false;
    const CSafeBuf name(id.name.c_str());
    for (const char* r : kReadOnly) {
        if (name.CompareNoCase(r) == 0)
            return true;
    }
    return false;
}

bool Terminated(const unsigned short* field, std::size_t capacity)
{
    for (std::size_t i = 0; i < capacity; ++i) {
        if (!field[i])
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static bool home = [] {
        setenv("HOME", "/tmp/qm-script-fuzz-home", 1);
        return true;
    }();
    (void)home;
    static NPNetscapeFuncs table = [] {
        NPNetscapeFuncs t{};
        t.size = sizeof t;
        t.memalloc = MemAlloc;
        t.memfree = MemFree;
        t.identifierisstring = IdentifierIsString;
        t.utf8fromidentifier = UTF8FromIdentifier;
        t.releasevariantvalue = ReleaseVariantValue;
        return t;
    }();
    NPNetscapeFuncs* const saved = browser;
    browser = &table;

    FuzzedDataProvider fdp(data, size);
    // The web's replies take a slice of their own, since they read the
    // rest of the data they are given.
    const std::vector<std::uint8_t> replies
        = fdp.ConsumeBytes<std::uint8_t>(fdp.ConsumeIntegralInRange<std::size_t>(0, 512));
    FuzzedDataProvider replyData(replies.data(), replies.size());
    qmfuzz::FakeNetwork network;
    qmfuzz::ScopedNetwork scoped(network);
    network.Script(replyData);
    {
        CMorvaXEditorCtrl control;
        const int steps = fdp.ConsumeIntegralInRange<int>(0, 16);
        for (int s = 0; s < steps && fdp.remaining_bytes() > 0; ++s) {
            const NPIdentifier name = Name(fdp);
            const Identifier& id = *static_cast<Identifier*>(name);
            NPVariant result;
            qm::np::SetVoid(result);
            switch (fdp.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: {
                NPVariant value;
                Value(fdp, value);
                if (control.Mozilla_SetProperty(name, &value) == IsReadOnly(id))
                    std::abort();
                ReleaseVariantValue(&value);
                break;
            }
            case 1: {
                qm::np::SetInt32(result, 12345);
                if (!control.Mozilla_GetProperty(name, &result))
                    std::abort();
                const bool untouched = result.type == NPVariantType_Int32 && result.value.intValue == 12345;
                if (untouched == control.Mozilla_HasProperty(name))
                    std::abort();
                CheckResult(result);
                break;
            }
            case 2: {
                NPVariant args[3];
                const std::uint32_t count = fdp.ConsumeIntegralInRange<std::uint32_t>(0, 3);
                for (std::uint32_t i = 0; i < count; ++i)
                    Value(fdp, args[i]);
                if (control.Mozilla_Invoke(name, args, count, &result) != control.Mozilla_HasMethod(name))
                    std::abort();
                CheckResult(result);
                for (std::uint32_t i = 0; i < count; ++i)
                    ReleaseVariantValue(&args[i]);
                break;
            }
            default: control.Mozilla_HasMethod(name); break;
            }
        }
        if (control.ProxySetting < 0 || control.ProxySetting > 2)
            std::abort();
        if (!(control.IndentOutput == "Friendly") && !(control.IndentOutput == "Compact"))
            std::abort();
        for (int i = 0; i < AdditionalHeaderCount(); ++i) {
            if (!AdditionalHeaderValue(&control.Headers(), i))
                std::abort();
        }
        if (!Terminated(control.Headers().DocumentID, 201) || !Terminated(control.Headers().ObjectID, 201))
            std::abort();
    }
    if (!g_blocks.empty())
        std::abort(); // an identifier's name or a string was not freed
    g_identifiers.clear();
    browser = saved;
    return 0;
}
