// The image commands: floating the context element with the page's float
// classes, how images are shown (graphic, alternative text, outline) for the
// whole document or one image, and selecting an image.
//
// An image shown as its alternative text holds that text in children, and
// when the text wraps the image is split into pieces; shown any other way
// it has no children. Changing the display type therefore rebuilds images
// (RemoveChildrenOfImage, CombineImage) and may take the caret's element
// out of the tree: the caret then goes back to the image.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/ImageDisplay.h"
#include "element/services/ControlServices.h"
#include "elements/ImageElement.h"
#include "elements/TypingTree.h"
#include "style/cascade/ClassList.h"

namespace {

constexpr int kGraphic = 1;
constexpr int kAsText = 2;
constexpr int kOutline = 3;

// The image that holds e (e itself when it is one), or null.
CElement* ImageAt(CElement* e)
{
    if (!e)
        return nullptr;
    return e->m_kind == kKindImg ? e : e->IsElementUnderTag(kKindImg);
}

} // namespace

void CXHTML::FloatContextElement(bool right)
{
    CElement* e = ContextElement();
    if (!e)
        return;
    const CSafeBuf none;
    const CSafeBuf& other = m_control ? m_control->ImageFloatClass(!right) : none;
    const CSafeBuf& mine = m_control ? m_control->ImageFloatClass(right) : none;
    // An empty class name would add an empty word to the list.
    if (other.Length() > 0)
        ChangeMultipleClass(e, other, kClassRemove, nullptr, nullptr);
    if (mine.Length() > 0)
        ChangeMultipleClass(e, mine, kClassToggle, nullptr, nullptr);
    e->StyleChanged(2);
    m_doc.DrawDoc(0);
    m_doc.UpdateKeyCursor();
    m_doc.Redraw();
    NotifyEdit();
}

void CXHTML::OnFloatimageright() { FloatContextElement(true); }
void CXHTML::OnFloatimageleft() { FloatContextElement(false); }

void CXHTML::ReplaceCaretOnImage(CElement* image, CPtrList& pieces)
{
    if (CaretElementInTree())
        return;
    if (image && m_doc.IsElementInTree(image)) {
        PutCaret(image, 0);
        return;
    }
    // The pieces may have been destroyed: only the registry is asked.
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        auto* piece = static_cast<CElement*>(pieces.GetNext(pos));
        if (m_doc.IsElementInTree(piece)) {
            PutCaret(piece, 0);
            return;
        }
    }
}

void CXHTML::SetImageDisplayType(int type)
{
    m_imageDisplayMode = type;
    CElement* root = m_doc.m_root;
    if (!root)
        return;
    CElement* image = nullptr;
    CPtrList pieces;
    if (type != kAsText) {
        image = ImageAt(CaretElementInTree());
        if (image)
            image->GetWrappedInlineBrothers(&pieces);
        root->RemoveChildrenOfImage();
    }
    CombineImage(root);
    ResetImageDisplayType(root);
    m_doc.DrawDoc(0);
    if (type != kAsText) {
        ReplaceCaretOnImage(image, pieces);
        m_doc.Redraw();
        m_doc.UpdateKeyCursor();
    } else if (IsWindowVisible()) {
        m_doc.Redraw();
    }
}

void CXHTML::OnImageTypeGrap() { SetImageDisplayType(kGraphic); }
void CXHTML::OnImageTypeText() { SetImageDisplayType(kAsText); }
void CXHTML::OnImageTypeOutline() { SetImageDisplayType(kOutline); }

void CXHTML::SetOwnImageDisplayType(int type)
{
    auto* image = dynamic_cast<CImageElement*>(ContextElement());
    CElement* root = m_doc.m_root;
    if (!image || !root)
        return;
    m_doc.m_handleElement = nullptr;
    m_doc.m_resizeState = 0;
    m_doc.m_resizeElement = nullptr;
    image->m_handlesShown = 0;
    image->m_selected = 0;
    // The same command again gives the image back to the document's type.
    const int own = image->m_displayType == type ? 0 : type;
    image->m_displayType = own;
    CPtrList pieces;
    image->GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        if (auto* piece = dynamic_cast<CImageElement*>(static_cast<CElement*>(pieces.GetNext(pos))))
            piece->m_displayType = own;
    }
    image->RemoveChildrenOfImage();
    image->StyleChanged(1);
    CombineImage(root);
    ReplaceCaretOnImage(image, pieces);
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    m_doc.UpdateKeyCursor();
}

void CXHTML::OnJImageTypeGrap() { SetOwnImageDisplayType(kGraphic); }
void CXHTML::OnJImageTypeText() { SetOwnImageDisplayType(kAsText); }
void CXHTML::OnJImageTypeOutline() { SetOwnImageDisplayType(kOutline); }

void CXHTML::OnSelectImage()
{
    CElement* image = ContextElement();
    if (!image || image->m_kind != kKindImg)
        return;
    // The image alone is selected: a selection left elsewhere would be
    // taken along by the next edit.
    m_doc.CleanSelection();
    image->m_selected = 1;
    image->SelectAllChildren(true);
    m_doc.m_selectionPresent = 1;
    m_doc.DisplaySelectionStyle();
    m_doc.DrawDoc(0);
    m_doc.Redraw();
}
