// The control's lists built from settings: the link relations of Rel and
// Rev and the installed font families; and the small settings operations
// that reach the window (scroll bars, the about dialog).

#include "plugin/MorvaXEditorCtrl.h"

#include "base/text/StringSplitter.h"
#include "base/text/U16.h"
#include "editor/XHTML.h"
#include "platform/text/FontCatalogue.h"
#include "platform/ui/ScrollBar.h"

#include <algorithm>
#include <cstring>

namespace {

// Room for at least this many names, whatever the count.
constexpr int kMinRelNames = 99;
// A font family name keeps at most 49 units.
constexpr int kFontNameUnits = 49;

unsigned short* CopyText(const CSafeBuf& text)
{
    auto* copy = new unsigned short[static_cast<std::size_t>(text.Length()) + 1];
    std::memcpy(copy, static_cast<const unsigned short*>(text), sizeof(unsigned short) * text.Length());
    copy[text.Length()] = 0;
    return copy;
}

bool SameNoCase(const unsigned short* a, const unsigned short* b)
{
    for (; *a && *b; ++a, ++b) {
        unsigned short x = *a, y = *b;
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned short>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned short>(y + 32);
        if (x != y)
            return false;
    }
    return *a == *b;
}

} // namespace

void CMorvaXEditorCtrl::LoadRel(const unsigned short* text, bool rel)
{
    ReleaseRel(rel);
    if (!text || !*text)
        return;
    std::vector<CSafeBuf> names;
    CStringSplitter splitter(text, 3, ' ');
    splitter.ResetGet();
    CSafeBuf name;
    while (splitter.GetNext(nullptr, &name, true)) {
        if (!name.IsEmpty())
            names.push_back(name);
    }
    if (names.empty())
        return;
    const int slots = std::max(static_cast<int>(names.size()), kMinRelNames) + 1;
    auto** list = new unsigned short*[static_cast<std::size_t>(slots) + 1]();
    list[0] = CopyText(CSafeBuf());
    for (std::size_t i = 0; i < names.size(); ++i)
        list[i + 1] = CopyText(names[i]);
    (rel ? m_relList : m_revList) = list;
    (rel ? m_relListSize : m_revListSize) = slots;
}

void CMorvaXEditorCtrl::ReleaseRel(bool rel)
{
    unsigned short**& list = rel ? m_relList : m_revList;
    if (!list)
        return;
    for (unsigned short** p = list; *p; ++p)
        delete[] * p;
    delete[] list;
    list = nullptr;
    (rel ? m_relListSize : m_revListSize) = 0;
}

void CMorvaXEditorCtrl::LoadSystemFontInfo()
{
    ReleaseSystemFontInfo();
    for (const qm::text::FontFamily& family : qm::text::FontCatalogue::Get().Families())
        AppendFontInfo(family.name.c_str(), family.id);
    if (!m_pXHTML)
        return;
    // The document keeps its own copy of the list for the style code.
    CXDoc& doc = m_pXHTML->m_doc;
    while (doc.m_fontList) {
        FONT_LIST_ITEM* next = doc.m_fontList->next;
        delete doc.m_fontList;
        doc.m_fontList = next;
    }
    FONT_LIST_ITEM** docTail = &doc.m_fontList;
    for (const FONT_INFO* f = m_fontInfo; f; f = f->next) {
        auto* item = new FONT_LIST_ITEM();
        item->name = f->name;
        item->fontNumber = f->fontId;
        *docTail = item;
        docTail = &item->next;
    }
}

void CMorvaXEditorCtrl::AppendFontInfo(const char* utf8Name, long fontId)
{
    FONT_INFO** tail = &m_fontInfo;
    while (*tail)
        tail = &(*tail)->next;
    auto* item = new FONT_INFO();
    CSafeBuf name;
    name.AssignUTF8(utf8Name ? utf8Name : "");
    SetHeaderField(item->name, kFontNameUnits + 1, name);
    item->fontId = fontId;
    *tail = item;
}

bool CMorvaXEditorCtrl::DoesFontExist(const unsigned short* name) const
{
    if (!name)
        return false;
    for (const FONT_INFO* f = m_fontInfo; f; f = f->next) {
        if (SameNoCase(f->name, name))
            return true;
    }
    return false;
}

long CMorvaXEditorCtrl::GetFontIDOrCharset(const char* name) const
{
    if (!name)
        return 0;
    const CSafeBuf wide(reinterpret_cast<const unsigned char*>(name));
    for (const FONT_INFO* f = m_fontInfo; f; f = f->next) {
        if (SameNoCase(f->name, wide))
            return f->fontId;
    }
    return 0;
}

void CMorvaXEditorCtrl::ReleaseSystemFontInfo()
{
    while (m_fontInfo) {
        FONT_INFO* next = m_fontInfo->next;
        delete m_fontInfo;
        m_fontInfo = next;
    }
}

void CMorvaXEditorCtrl::SetScrollRange(int bar, int minimum, int maximum)
{
    qm::ui::ScrollBar* scrollBar = bar == 1 ? m_pHScrollBar : m_pVScrollBar;
    if (!scrollBar)
        return;
    scrollBar->SetMinimum(minimum);
    scrollBar->SetMaximum(maximum);
}

void CMorvaXEditorCtrl::SetScrollPos(int bar, int pos)
{
    qm::ui::ScrollBar* scrollBar = bar == 1 ? m_pHScrollBar : m_pVScrollBar;
    if (scrollBar)
        scrollBar->SetValue(pos);
}
