// The style drop-list's documents: a fuzzed style document (UTF-8; given
// its root tag when it lacks one, so it is read inline) is loaded as the
// control's Styles in a language the first byte picks, and the same text is
// read as an ApplyStyleXML document. Afterwards:
//   - the list starts with "None" at row 0 and command 34000;
//   - rows rise, by one within a group and by two where the group title
//     changes; command ids rise by one; the count is the last row + 1;
//   - every text of an item and of its attributes ends within its field;
//   - an ApplyStyleXML document gives an element that fits its field;
//   - nothing was fetched.
// Loading the same input again gives the same list.

#include "fuzz/FuzzText.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/StyleDocument.h"

#include "base/text/U16.h"
#include "platform/events/Services.h"
#include "platform/net/Http.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

class NoNetwork : public qm::net::NetworkDriver
{
public:
    qm::net::HttpResponse Send(const qm::net::HttpRequest&) override
    {
        ++requests;
        return qm::net::HttpResponse();
    }
    int requests = 0;
};

bool Terminated(const unsigned short* text, int capacity)
{
    for (int i = 0; i < capacity; ++i)
        if (text[i] == 0)
            return true;
    return false;
}

void CheckAttributes(const ATTRIBUTE_ITEM* a)
{
    for (; a; a = a->next)
        QM_FUZZ_CHECK(Terminated(a->name, 51) && Terminated(a->value, 51));
}

std::string CheckList(CMorvaXEditorCtrl& control)
{
    const STYLE_BAR_ITEM* item = control.m_styleItems;
    QM_FUZZ_CHECK(item && item->index == 0 && item->commandId == kFirstStyleCommandId && !item->attributes);
    std::string out;
    const STYLE_BAR_ITEM* previous = nullptr;
    for (; item; previous = item, item = item->next) {
        QM_FUZZ_CHECK(Terminated(item->label, 101) && Terminated(item->group, 51)
            && Terminated(item->element, 51) && Terminated(item->description, 201)
            && Terminated(item->id, 51));
        CheckAttributes(item->attributes);
        if (previous) {
            const int step = U16cmp(previous->group, item->group) == 0 ? 1 : 2;
            QM_FUZZ_CHECK(item->index == previous->index + step);
            QM_FUZZ_CHECK(item->commandId == previous->commandId + 1);
        }
        out += std::to_string(item->index) + ",";
    }
    QM_FUZZ_CHECK(control.StyleGetCount() == previous->index + 1);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 16 * 1024)
        return 0;
    static CMorvaXEditorCtrl* control = new CMorvaXEditorCtrl();
    NoNetwork network;
    qm::events::Services::Get().SetNetwork(&network);

    static const char* const kLanguages[] = {"en", "de", ""};
    control->Lang = kLanguages[data[0] % 3];
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    // A zero would end the text early and leave a name to fetch.
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    if (text.find("<styles>") == std::string::npos)
        text = "<styles>" + text;
    CSafeBuf styles;
    styles.AssignUTF8(text.c_str());
    control->SetCustomization(styles);
    const std::string first = CheckList(*control);
    control->SetCustomization(styles);
    QM_FUZZ_CHECK(CheckList(*control) == first);

    CSafeBuf element, cls;
    ATTRIBUTE_ITEM* attributes = nullptr;
    if (ReadStyleXML(styles, element, attributes, cls)) {
        QM_FUZZ_CHECK(!element.IsEmpty() && cls.Length() <= 50);
        CheckAttributes(attributes);
    }
    FreeAttributeItems(attributes);
    QM_FUZZ_CHECK(network.requests == 0);
    qm::events::Services::Get().SetNetwork(nullptr);
    return 0;
}
