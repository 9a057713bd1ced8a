// The toolbar's definitions: a fuzzed toolbar string, button-definition
// document and icon document (UTF-8, separated by lines "%%") are read by
// the control as the page would give them inline. The first byte picks the
// view. Afterwards:
//   - command ids run up from 36000 in the order of the bars and buttons;
//   - every text of a button is terminated within its 50 units;
//   - every button other than a gap has a picture, at its own index, and a
//     bar holds exactly the pictures of its buttons;
//   - no gap is followed by another gap or ends its bar;
//   - the definition list and icon names stay within their fields;
//   - nothing was fetched (inline documents only).
// Reading the same input again gives the same bars.

#include "fuzz/FuzzText.h"
#include "plugin/ImageList.h"
#include "plugin/MorvaXEditorCtrl.h"

#include "platform/events/Services.h"
#include "platform/net/Http.h"

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

// The bars as text, checking them on the way.
std::string CheckBars(CMorvaXEditorCtrl& control)
{
    std::string out;
    unsigned int lastId = 35999;
    void* pos = control.m_toolBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(control.m_toolBars.GetNext(pos));
        out += bar->newRow ? "R" : "B";
        int pictures = 0;
        for (ButtonInfo* b = bar->buttons; b; b = b->next) {
            QM_FUZZ_CHECK(b->EditorCommandID > lastId);
            lastId = b->EditorCommandID;
            QM_FUZZ_CHECK(
                Terminated(b->textId, 51) && Terminated(b->tooltip, 51) && Terminated(b->label, 51));
            if (b->kind == kButtonKindGap) {
                QM_FUZZ_CHECK(b->next && b->next->kind != kButtonKindGap);
                out += "_";
                continue;
            }
            QM_FUZZ_CHECK(b->imageIndex == pictures);
            ++pictures;
            out += std::to_string(b->EditorCommandID) + ":" + std::to_string(b->kind) + ";";
        }
        QM_FUZZ_CHECK(bar->images && bar->images->GetImageCount() == pictures);
    }
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

    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string parts[3];
    for (int i = 0; i < 2; ++i) {
        const size_t split = input.find("\n%%\n");
        parts[i] = input.substr(0, split);
        input = split == std::string::npos ? std::string() : input.substr(split + 4);
    }
    parts[2] = input;
    // Inline documents only: a text without its root tag would name a file.
    if (parts[1].find("<buttons>") == std::string::npos)
        parts[1] = "<buttons>" + parts[1];
    if (parts[2].find("<icons>") == std::string::npos)
        parts[2] = "<icons>" + parts[2];

    control->m_viewMode = data[0] % 4;
    CSafeBuf* strings[4] = {&control->ToolbarWysiwyg, &control->ToolbarSource, &control->ToolbarPreview,
        &control->ToolbarScreenReader};
    strings[control->m_viewMode]->AssignUTF8(parts[0].c_str());
    control->Buttons.AssignUTF8(parts[1].c_str());
    CSafeBuf icons;
    icons.AssignUTF8(parts[2].c_str());
    control->SetIcons(icons);
    for (ICON_ITEM* icon = control->GetIcons(); icon; icon = icon->next)
        QM_FUZZ_CHECK(Terminated(icon->name, 50) && icon->data && icon->size > 0);

    control->LoadToolBarFromString();
    const std::string first = CheckBars(*control);
    control->LoadToolBarFromString();
    QM_FUZZ_CHECK(CheckBars(*control) == first);
    control->LoadAllButtonInfo();
    for (ButtonInfo* b = control->m_buttonInfo; b; b = b->next)
        QM_FUZZ_CHECK(Terminated(b->textId, 51));
    QM_FUZZ_CHECK(network.requests == 0);

    control->ReleaseToolBar();
    control->ReleaseButtonInfo();
    control->RemoveIcons();
    qm::events::Services::Get().SetNetwork(nullptr);
    return 0;
}
