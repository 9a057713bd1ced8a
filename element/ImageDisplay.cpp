// Joining the pieces of images and clearing their own display types.

#include "element/ImageDisplay.h"

#include "base/collections/PtrList.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/services/XHTMLServices.h"
#include "elements/ImageElement.h"

namespace {

bool IsAtOrBelow(const CElement* top, const CElement* e)
{
    for (; e; e = e->m_parent) {
        if (e == top)
            return true;
    }
    return false;
}

// Destroys the other pieces of image and gives it their alternative text.
void JoinPieces(CImageElement* image)
{
    CSafeBuf alt;
    image->GetAltTxt(alt);
    CPtrList pieces;
    image->GetWrappedInlineBrothers(&pieces);
    CXDocServices* doc = image->m_owner ? &image->m_owner->m_doc : nullptr;
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        CElement* piece = static_cast<CElement*>(pieces.GetNext(pos));
        if (doc && IsAtOrBelow(piece, doc->m_caretElement)) {
            doc->m_caretElement = image;
            image->m_caretOffset = 0;
        }
        if (piece->m_parent)
            piece->m_parent->RemoveChild(piece->GetID(), true, false);
        else
            delete piece;
    }
    image->m_inlineGroup = 0;
    // Set directly: SetAttrString would drop an empty value.
    image->m_attributes.SetAt("alt", alt);
}

} // namespace

bool CombineImage(CElement* root)
{
    if (!root)
        return false;
    bool joined = false;
    // The pieces of an image follow it in document order (those of an image
    // whose first piece lies outside root come before it), so removing them
    // never removes the element the walk stands on or one of its ancestors.
    for (CElement* e = root; e; e = NextInSubtree(e, root)) {
        if (e->m_kind != kKindImg)
            continue;
        CImageElement* image = static_cast<CImageElement*>(e);
        if (image->GetWrappedInlineBrothers(nullptr) != 0) {
            JoinPieces(image);
            joined = true;
            if (image->GetDisplayType() == 2)
                image->SetAltTxt();
        }
        if (image->GetDisplayType() != 2 && image->m_firstChild)
            image->RemoveChildrenOfImage();
    }
    return joined;
}

int ResetImageDisplayType(CElement* root)
{
    int changed = 0;
    for (CElement* e = root; e; e = NextInSubtree(e, root)) {
        if (e->m_kind != kKindImg)
            continue;
        static_cast<CImageElement*>(e)->m_displayType = 0;
        e->StyleChanged(1);
        ++changed;
    }
    return changed;
}
