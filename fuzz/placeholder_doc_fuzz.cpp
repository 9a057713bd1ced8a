// The place-holder document: a fuzzed document (UTF-8; given its root tag
// when it lacks one, so it is read inline) is loaded as the control's
// Placeholders. Afterwards:
//   - the definitions end with the three built-in ones, in their order;
//   - every element name ends within its 49 units, every condition's name
//     and value within 50;
//   - an icon is a name of at most 50 units, or picture bytes with their
//     count;
//   - nothing was fetched.
// Loading the same input again gives the same definitions.

#include "fuzz/FuzzText.h"
#include "plugin/MorvaXEditorCtrl.h"

#include "base/text/U16.h"
#include "platform/events/Services.h"
#include "platform/net/Http.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

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

std::string CheckDefinitions(const CMorvaXEditorCtrl& control)
{
    std::string out;
    std::vector<const PLACEHOLDERSSTRUCT*> all;
    for (const PLACEHOLDERSSTRUCT* p = control.GetPlaceHolders(); p; p = p->next) {
        all.push_back(p);
        QM_FUZZ_CHECK(Terminated(p->element, 50) && p->icon);
        for (const ATTRIBUTE_ITEM* a = p->attributes; a; a = a->next)
            QM_FUZZ_CHECK(Terminated(a->name, 51) && Terminated(a->value, 51));
        if (p->iconIsName)
            QM_FUZZ_CHECK(U16len(static_cast<const unsigned short*>(p->icon)) <= 50);
        else
            QM_FUZZ_CHECK(p->iconSize > 0);
        out += std::to_string(p->iconSize) + ",";
    }
    QM_FUZZ_CHECK(all.size() >= 3);
    static const char* const kBuiltIn[] = {"joomla:readmore", "joomla:pagebreak", "joomla:image"};
    for (int i = 0; i < 3; ++i) {
        const PLACEHOLDERSSTRUCT* p = all[all.size() - 3 + static_cast<size_t>(i)];
        QM_FUZZ_CHECK(U16cmp(kBuiltIn[i], p->element) == 0 && p->iconIsName && !p->attributes);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    static CMorvaXEditorCtrl* control = new CMorvaXEditorCtrl();
    NoNetwork network;
    qm::events::Services::Get().SetNetwork(&network);

    std::string text(reinterpret_cast<const char*>(data), size);
    // A zero would end the text early and leave a name to fetch.
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    if (text.find("<placeholders>") == std::string::npos)
        text = "<placeholders>" + text;
    CSafeBuf document;
    document.AssignUTF8(text.c_str());
    control->SetPlaceHolders(document);
    const std::string first = CheckDefinitions(*control);
    control->SetPlaceHolders(document);
    QM_FUZZ_CHECK(CheckDefinitions(*control) == first);
    QM_FUZZ_CHECK(network.requests == 0);
    qm::events::Services::Get().SetNetwork(nullptr);
    return 0;
}
