// The page's tag parameters: fuzzed name and value pairs (names mostly from
// the control's own list, values UTF-8) are read by DoPropExchange of a new
// control, with web answers from fuzz bytes. Afterwards:
//   - IndentOutput is "Friendly" or "Compact", Lang is not blank, the
//     Accept-Language field holds at most 20 units, every header field ends
//     inside its array, ProxyPort is a port;
//   - what page script reads back of CSS, Localization, Styles and Buttons is
//     a named document's content only when the name has the page's origin:
//     a name of another origin reads back as itself.

#include "base/app/PropExchange.h"
#include "base/text/SafeBuf.h"
#include "base/text/Utf.h"
#include "fuzz/FakeNetwork.h"
#include "fuzz/FuzzText.h"
#include "net/AdditionalHeaders.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kNames[] = {"Lang", "Localization", "Rel", "Rev", "id", "EnableCache", "ProxySetting",
    "HeartbeatInterval", "ToolbarEffect", "ExpandShowToolbar", "CustomInlineElements", "CustomBlockElements",
    "Dir", "ProxyServer", "ProxyPort", "ProxyUser", "Value", "Data", "CSS", "IndentOutput", "ImageLibraryURL",
    "Styles", "Buttons", "Debug", "BackgroundColor", "BorderColor", "Base", "EscapeUnicode",
    "SpellCheckerLang", "Mode", "ShowToolbar", "ShowStyles", "EnablePasteMarkup", "Options", "Icons",
    "ScreenReaderXSLT", "PreviewXSLT", "LatestVersion", "EnableTimestamp", "UserID", "Cookie", "ObjectID"};
constexpr int kNameCount = sizeof(kNames) / sizeof(kNames[0]);

const char* const kPage = "http://example.test/page.html";

void CheckReadBack(CMorvaXEditorCtrl& control, const CSafeBuf& setting, const CSafeBuf& out)
{
    const std::string name = ToUTF8String(setting);
    const std::string origin = qmfuzz::PlainOrigin(name);
    if (!origin.empty() && origin != qmfuzz::PlainOrigin(kPage) && !(out == setting))
        std::abort();
    (void)control;
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
        setenv("HOME", "/tmp/qm-params-fuzz-home", 1);
        return true;
    }();
    (void)home;
    FuzzedDataProvider fdp(data, size);
    std::vector<std::string> names, values;
    const int count = fdp.ConsumeIntegralInRange<int>(0, 12);
    for (int i = 0; i < count; ++i) {
        names.push_back(fdp.ConsumeBool() ? kNames[fdp.ConsumeIntegralInRange<int>(0, kNameCount - 1)]
                                          : fdp.ConsumeRandomLengthString(12));
        values.push_back(fdp.ConsumeBool()
                ? qmfuzz::kSites[fdp.ConsumeIntegralInRange<int>(0, qmfuzz::kSiteCount - 1)]
                : fdp.ConsumeRandomLengthString(300));
    }
    qmfuzz::FakeNetwork network;
    qmfuzz::ScopedNetwork scoped(network);
    network.Script(fdp);

    std::vector<const char*> n, v;
    for (std::size_t i = 0; i < names.size(); ++i) {
        n.push_back(names[i].c_str());
        v.push_back(values[i].c_str());
    }
    CMorvaXEditorCtrl control;
    CPropExchange exchange(n.data(), v.data(), static_cast<int>(n.size()));
    control.DoPropExchange(&exchange);

    if (!(control.IndentOutput == "Friendly") && !(control.IndentOutput == "Compact"))
        std::abort();
    CSafeBuf lang(control.Lang);
    lang.Trim();
    if (lang.IsEmpty() || lang.Length() != control.Lang.Length())
        std::abort();
    if (!Terminated(control.Headers().Language, 21) || control.ProxyPort < 1 || control.ProxyPort > 65535)
        std::abort();
    for (int i = 0; i < AdditionalHeaderCount(); ++i) {
        if (!AdditionalHeaderValue(&control.Headers(), i))
            std::abort();
    }

    control.m_pageAddress = kPage;
    network.Restart();
    CSafeBuf out;
    control.GetCSS(out);
    if (control.CSS.Find(static_cast<unsigned short>('{')) < 0)
        CheckReadBack(control, control.CSS, out);
    network.Restart();
    control.GetLocalization(out);
    if (control.Localization.Find("<localization>") < 0 && !control.Localization.IsEmpty())
        CheckReadBack(control, control.Localization, out);
    network.Restart();
    control.GetButtons(out);
    if (control.Buttons.Find("<buttons>", 0, false) < 0 && !control.Buttons.IsEmpty())
        CheckReadBack(control, control.Buttons, out);
    return 0;
}
