// The page's own element names: the three custom element lists with their
// search copies, and the sub-document tags.

#include "plugin/MorvaXEditorCtrl.h"

namespace {

bool IsBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void SetList(CSafeBuf& list, CSafeBuf& search, const unsigned short* text)
{
    list.Empty();
    if (text)
        list = text;
    CMorvaXEditorCtrl::NormaliseElementList(list, search);
}

} // namespace

void CMorvaXEditorCtrl::NormaliseElementList(const CSafeBuf& text, CSafeBuf& search)
{
    search.Empty();
    for (int i = 0; i < text.Length(); ++i) {
        unsigned short c = text.GetAt(i);
        if (!IsBlank(c))
            search += c;
    }
    if (search.IsEmpty())
        return;
    if (search.GetAt(search.Length() - 1) != ',')
        search += static_cast<unsigned short>(',');
    if (search.GetAt(0) != ',')
        search.Insert(0, static_cast<unsigned short>(','));
}

void CMorvaXEditorCtrl::SetCustomInlineElements(const unsigned short* text)
{
    SetList(CustomInlineElements, CustomInlineElementsSearch, text);
}

void CMorvaXEditorCtrl::SetCustomBlockElements(const unsigned short* text)
{
    SetList(CustomBlockElements, CustomBlockElementsSearch, text);
}

void CMorvaXEditorCtrl::SetCustomEmptyElements(const unsigned short* text)
{
    SetList(CustomEmptyElements, CustomEmptyElementsSearch, text);
}

bool CMorvaXEditorCtrl::IsSubdocumentTag(const unsigned short* tag) const
{
    CSafeBuf search;
    NormaliseElementList(SubdocumentTags, search);
    return IsInElementList(search, tag);
}
