// The page's texts given to the control's value exchange, before the control
// is started: fuzzed markup (UTF-8) and three fuzzed UTF-16 texts.
//   - Fix answers empty text or well-formed markup, and leaves the document
//     as it was;
//   - SetValue keeps the page's text as Value when it does not clean;
//   - a context-menu entry is added only with a name and a label, its ids
//     count up from 38000 and each of its texts is a prefix of the one given,
//     at most 99 units long and never cut inside a surrogate pair;
//   - ValidateTag never makes a name longer.

#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

bool IsPrefix(const CSafeBuf& part, const std::vector<unsigned short>& whole)
{
    if (part.Length() > static_cast<int>(whole.size()) - 1)
        return false;
    for (int i = 0; i < part.Length(); ++i) {
        if (part.GetAt(i) != whole[static_cast<size_t>(i)])
            return false;
    }
    return true;
}

// Kept as given or cut at most 99 units, never after a high surrogate.
bool KeptSafely(const CSafeBuf& kept, const std::vector<unsigned short>& given)
{
    if (!IsPrefix(kept, given) || kept.Length() > CMorvaXEditorCtrl::kMenuTextRoom)
        return false;
    const int length = static_cast<int>(given.size()) - 1;
    if (kept.Length() == length)
        return true;
    const unsigned short last = kept.Length() ? kept.GetAt(kept.Length() - 1) : 0;
    return kept.Length() >= CMorvaXEditorCtrl::kMenuTextRoom - 1 && !(last >= 0xD800 && last <= 0xDBFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 16 * 1024)
        return 0;
    FuzzedDataProvider fdp(data, size);
    const std::vector<unsigned short> name = qmfuzz::ConsumeU16(fdp, 140);
    const std::vector<unsigned short> label = qmfuzz::ConsumeU16(fdp, 140);
    const std::vector<unsigned short> third = qmfuzz::ConsumeU16(fdp, 140);
    CSafeBuf markup;
    markup.AssignUTF8(fdp.ConsumeRemainingBytesAsString().c_str());

    CMorvaXEditorCtrl control;
    control.EnableTimestamp = 0; // the markup compared holds no clock
    CXDoc& doc = control.m_pXHTML->m_doc;
    CSafeBuf before, after;
    doc.GetSourceCode(before, 2, false);
    CSafeBuf fixed;
    control.Fix(markup, fixed);
    QM_FUZZ_CHECK(fixed.IsEmpty() || control.ValidateXMLValue(fixed, false));
    doc.GetSourceCode(after, 2, false);
    QM_FUZZ_CHECK(before == after);

    CSafeBuf cleaned(markup);
    const bool cleans = control.m_pXHTML->CleanXHTML(cleaned, 9);
    control.SetValue(markup);
    QM_FUZZ_CHECK(control.Value == (cleans ? cleaned : markup));

    for (int round = 0; round < 2; ++round) {
        control.AddToContextMenu(name.data(), label.data(), round ? nullptr : third.data());
        const CONTEXT_MENU_ENTRY* e = control.PageMenuEntries();
        if (name.size() == 1) {
            QM_FUZZ_CHECK(e == nullptr);
            continue;
        }
        unsigned id = CMorvaXEditorCtrl::kFirstMenuCommand;
        for (; e; e = e->next, ++id) {
            QM_FUZZ_CHECK(e->id == id);
            QM_FUZZ_CHECK(KeptSafely(e->name, name));
            QM_FUZZ_CHECK(KeptSafely(e->label, label));
        }
        QM_FUZZ_CHECK(id == CMorvaXEditorCtrl::kFirstMenuCommand + unsigned(round) + 1);
    }
    const CONTEXT_MENU_ENTRY* first = control.PageMenuEntries();
    QM_FUZZ_CHECK(!first || KeptSafely(first->third, third));
    control.ClearContextMenu();
    QM_FUZZ_CHECK(control.PageMenuEntries() == nullptr);

    CSafeBuf tag(name.data());
    const int length = tag.Length();
    CMorvaXEditorCtrl::ValidateTag(tag);
    QM_FUZZ_CHECK(tag.Length() <= length);
    return 0;
}
