// Stand-ins for members of the table alignment and style work that the
// context menu calls. The alignment states read the cell's and the row's
// own "align" and "valign" attributes; the style menu stays empty.

#include "editor/XHTML.h"

#include "element/Element.h"

namespace {

int AlignBits(CElement* e)
{
    if (!e)
        return 0;
    CSafeBuf align;
    CSafeBuf valign;
    e->GetAttrString("align", align);
    e->GetAttrString("valign", valign);
    int bits = 0;
    if (align == "left")
        bits |= 0x10;
    else if (align == "center")
        bits |= 0x20;
    else if (align == "right")
        bits |= 0x40;
    if (valign == "top")
        bits |= 1;
    else if (valign == "middle")
        bits |= 2;
    else if (valign == "bottom")
        bits |= 4;
    return bits;
}

} // namespace

int CXHTML::GetTDAlignState(CElement* cell, int* columnState)
{
    if (columnState)
        *columnState = 0;
    return AlignBits(cell);
}

int CXHTML::GetRowAlignState(CElement* row, bool) { return AlignBits(row); }

void CXHTML::PrepareStyleMenu(qm::ui::Menu&) { }
