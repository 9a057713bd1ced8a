// The custom element's icon, layout, painting and tooltip.

#include "elements/CustomElement.h"

#include "base/files/BundleResources.h"
#include "base/text/U16.h"
#include "element/factory/ElementFactory.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"

namespace {

const char kBuiltInIcon[] = "bmp00005.bmp";
const unsigned short kNoTag[] = {0};

// Every attribute of a has the same value in b, and b has no others.
bool SameAttributes(const CMapStringToString& a, const CMapStringToString& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    CSafeBuf name, value, other;
    for (void* pos = a.GetStartPosition(); pos;) {
        a.GetNextAssoc(pos, name, value);
        if (!b.Lookup(static_cast<const unsigned short*>(name), other) || other != value)
            return false;
    }
    return true;
}

// The definition's tag is the element's and each of its conditions holds.
bool Applies(const PLACEHOLDERSSTRUCT* definition, const CElement* e)
{
    if (U16cmp(definition->element, e->GetTagName()) != 0)
        return false;
    CSafeBuf value;
    for (const ATTRIBUTE_ITEM* c = definition->attributes; c; c = c->next) {
        if (!e->m_attributes.Lookup(c->name, value) || U16cmp(c->value, value) != 0)
            return false;
    }
    return true;
}

// The last applying definition with conditions; else the first applying
// one without.
const PLACEHOLDERSSTRUCT* ChooseDefinition(const PLACEHOLDERSSTRUCT* list, const CElement* e)
{
    const PLACEHOLDERSSTRUCT* chosen = nullptr;
    for (const PLACEHOLDERSSTRUCT* d = list; d; d = d->next) {
        if (!Applies(d, e))
            continue;
        if (d->attributes || !chosen)
            chosen = d;
    }
    return chosen;
}

// The built-in icon, read once: every element that shows it draws the same
// picture.
CImage& BuiltInIcon()
{
    static CImage icon;
    static const bool loaded = [] {
        CSafeBuf path;
        GetResourcePath(path, kBuiltInIcon);
        return icon.LoadPictureFile(path);
    }();
    (void)loaded;
    return icon;
}

bool HoldsOnlyEmptyText(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsTextElement() || !c->m_text.IsEmpty())
            return false;
    }
    return true;
}

} // namespace

CCustomElement::CCustomElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindCustom; }

CCustomElement::~CCustomElement() = default;

void CCustomElement::UseBuiltInIcon()
{
    m_iconFromDefinitions = false;
    m_builtInShown = true;
    m_iconWidth = BuiltInIcon().GetWidth();
    m_iconHeight = BuiltInIcon().GetHeight();
}

void CCustomElement::CheckIcon()
{
    if (m_iconCurrent && SameAttributes(m_iconAttributes, m_attributes))
        return;
    CControlServices* control = m_owner ? m_owner->m_control : nullptr;
    const PLACEHOLDERSSTRUCT* chosen = control ? ChooseDefinition(control->GetPlaceHolders(), this) : nullptr;
    bool loaded = false;
    bool keep = false;
    if (chosen && !chosen->iconIsName) {
        loaded = chosen->icon && chosen->iconSize > 0
            && m_icon.LoadPictureMemory(static_cast<const char*>(chosen->icon), chosen->iconSize);
    } else if (chosen) {
        int size = 0;
        const auto* name = static_cast<const unsigned short*>(chosen->icon);
        if (control->GetIconFromIcons(name, &size, &m_icon, nullptr))
            loaded = m_icon.GetWidth() > 0;
        else
            keep = m_iconFromDefinitions || m_builtInShown; // a name the set does not hold
    }
    if (loaded) {
        m_iconWidth = m_icon.GetWidth();
        m_iconHeight = m_icon.GetHeight();
        m_iconFromDefinitions = true;
        m_builtInShown = false;
    } else if (!keep) {
        // No definition, or one whose picture does not decode: the
        // built-in icon, so that the element never shows as nothing.
        UseBuiltInIcon();
    }
    CopyMap(&m_iconAttributes, &m_attributes, false);
    m_iconCurrent = true;
}

bool CCustomElement::ShowsIcon() const
{
    return m_showAsIcon && (m_iconFromDefinitions || Rare().m_markerLabel.IsEmpty());
}

bool CCustomElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    CalcForAll(dc, false, false);
    m_showAsIcon = true;
    CheckIcon();
    if (!IsTag("map") && !IsTag("object"))
        m_showAsIcon = HoldsOnlyEmptyText(this);
    if (ShowsIcon()) {
        Lay().m_sizeRect = CRect(0, 0, m_iconWidth, m_iconHeight);
        Lay().m_baseline.y = m_iconHeight + Lay().m_marginLeftTop.y + Lay().m_marginRightBottom.y - 2;
        return true;
    }
    if (!m_firstChild) {
        CElement* run = CreateElement(kNoTag, m_rules, m_root, m_owner);
        if (run && AppendChild(run)) {
            run->StyleChanged(2);
            run->BuildCDC(dc);
        } else {
            delete run;
        }
    }
    return CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
}

bool CCustomElement::SelfPaint(void* dc, CPoint origin)
{
    if (!dc && m_root)
        dc = m_root->m_dc.get();
    CRect box = Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    if (ShowsIcon()) {
        CImage& icon = m_builtInShown ? BuiltInIcon() : m_icon;
        icon.CopyImage(nullptr, nullptr, static_cast<qm::cg::Context*>(dc), GetFlipHeight(this), origin);
        if (m_selected)
            xInvertRect(dc, box, this);
        return true;
    }
    if (m_locked && m_selected)
        xInvertRect(dc, box, this);
    return CElement::SelfPaint(dc, origin);
}

int CCustomElement::MouseEnterElement(CPoint pt)
{
    CElement::MouseEnterElement(pt);
    CSafeBuf title;
    if (m_owner && GetAttrString("title", title) && !title.IsEmpty())
        m_owner->DisplayTooltip(pt, title, false);
    return 0;
}

int CCustomElement::MouseLeaveElement(CPoint pt)
{
    CElement::MouseLeaveElement(pt);
    if (m_owner)
        m_owner->HideTooltip(false);
    return 0;
}
