// The image element: its picture, its display type, its alternative text,
// its markup and its copies.

#include "elements/ImageElement.h"

#include "base/app/LangString.h"
#include "base/url/RelativeURL.h"
#include "element/ElementPictures.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/SourceCode.h"
#include "element/services/XHTMLServices.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "style/Image.h"

namespace {

const unsigned short kNoTag[] = {0};

bool ValidDisplayType(int type) { return type >= 1 && type <= 3; }

} // namespace

CImageElement::CImageElement(STYLE_CLASS* rules)
    : CElement(rules),
      m_textStyle(std::make_unique<qm::text::Style>()),
      m_textLayout(std::make_unique<qm::text::Layout>())
{
    m_kind = kKindImg;
    m_selectable = 1;
    m_container = 0;
    m_textLayout->SetStyle(m_textStyle.get());
}

CImageElement::~CImageElement() = default;

int CImageElement::GetDisplayType() const
{
    if (ValidDisplayType(m_displayType))
        return m_displayType;
    if (m_owner && ValidDisplayType(m_owner->m_imageDisplayMode))
        return m_owner->m_imageDisplayMode;
    return 0;
}

bool CImageElement::ReLoad(void* context)
{
    m_loaded = 1;
    CSafeBuf src;
    if (!GetAttrNoCase("src", src)) {
        m_picture = GetImage(this, kNoTag, context);
        return true;
    }
    if (src.Length() >= 4 && src.Left(4).CompareNoCase("www.") == 0) {
        src.Insert(0, "http://");
        // The attribute keeps the name it was written with.
        CSafeBuf name, value;
        for (void* pos = m_attributes.GetStartPosition(); pos;) {
            m_attributes.GetNextAssoc(pos, name, value);
            if (name.CompareNoCase("src") == 0)
                break;
        }
        SetAttrString(static_cast<const unsigned short*>(name), static_cast<const unsigned short*>(src));
    }
    CSafeBuf resolved;
    const CSafeBuf* base = m_owner ? &m_owner->m_doc.m_baseURL : nullptr;
    if (!base || base->IsEmpty() || !BuildRelativeURL(*base, src, resolved))
        resolved = src;
    m_picture = GetImage(this, resolved, context);
    return true;
}

CSafeBuf CImageElement::DecorativeText() const
{
    if (m_owner && m_owner->m_langString)
        return m_owner->m_langString->GetItem("attributes/img/decorative-image", "");
    return CSafeBuf();
}

bool CImageElement::UpdateAltTxt()
{
    if (!m_firstChild)
        return false;
    CSafeBuf alt;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        alt += c->m_text;
    SetAttrString("alt", static_cast<const unsigned short*>(alt));
    if (alt.IsEmpty())
        m_firstChild->m_text = DecorativeText();
    return true;
}

bool CImageElement::SetAltTxt()
{
    if (GetDisplayType() != 2)
        return false;
    CSafeBuf text;
    GetAttrString("alt", text);
    if (text.IsEmpty())
        text = DecorativeText();
    if (!m_firstChild) {
        CElement* run = CreateElement(kNoTag, m_rules, m_root, m_owner);
        if (!run)
            return false;
        run->m_text = text;
        if (!AppendChild(run)) {
            delete run;
            return false;
        }
        StyleChanged(1);
        return true;
    }
    m_firstChild->m_text = text;
    while (m_firstChild->m_nextSibling)
        RemoveChild(m_firstChild->m_nextSibling->GetID(), true, false);
    return true;
}

void CImageElement::GetAltTxt(CSafeBuf& out) const
{
    GetAttrString("alt", out);
    CPtrList others;
    if (GetWrappedInlineBrothers(&others) == 0 || others.GetCount() == 0 || !m_root)
        return;
    // The other pieces come in document order; this one goes before the
    // first of them that follows it.
    const CSafeBuf mine(out);
    out.Empty();
    bool mineDone = false;
    CSafeBuf value;
    for (void* pos = others.GetHeadPosition(); pos;) {
        const CElement* piece = static_cast<const CElement*>(others.GetNext(pos));
        if (!mineDone && m_root->IsBeyondElement(this, piece) == 1) {
            out += mine;
            mineDone = true;
        }
        piece->GetAttrString("alt", value);
        out += value;
    }
    if (!mineDone)
        out += mine;
}

bool CImageElement::GetSourceCode(
    CSafeBuf& out, int level, int flags, CSafeBuf& a, CSafeBuf& b, CSafeBuf& c, SourceCodeVar* var)
{
    out.Empty();
    // An image whose text display wrapped over lines is written once, by its
    // first piece, with the alternative text of all its pieces.
    const int state
        = GetDisplayType() == 2 && !(flags & kSourceDiagnostic) ? GetWrappedInlineBrothers(nullptr) : 0;
    if (state == 1 || state == 2)
        return true;
    CSafeBuf alt;
    const bool hadAlt = m_attributes.Lookup("alt", alt);
    if (state == -1) {
        CSafeBuf joined;
        GetAltTxt(joined);
        m_attributes.SetAt("alt", joined);
    }
    // The alternative-text children are the display's, not content: the
    // image is written as an empty element whatever it holds.
    const unsigned char noChild = m_noChild;
    m_noChild = 1;
    const bool written = CElement::GetSourceCode(out, level, flags, a, b, c, var);
    m_noChild = noChild;
    if (state == -1) {
        if (hadAlt)
            m_attributes.SetAt("alt", alt);
        else
            m_attributes.RemoveKey("alt");
    }
    return written;
}

CElement* CImageElement::Duplicate()
{
    CElement* copy = CElement::Duplicate();
    if (CImageElement* image = dynamic_cast<CImageElement*>(copy)) {
        image->m_displayType = m_displayType;
        image->SetAttrString("alt", ""); // removed: the writer gives alt=""
    }
    return copy;
}
