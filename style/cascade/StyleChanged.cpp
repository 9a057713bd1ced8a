// Recomputing an element's style after a class, attribute or style change,
// and the tag-marker label that follows from it.

#include "base/text/U16.h"
#include "element/Element.h"
#include "element/ElementPrefetch.h"
#include "element/services/XHTMLServices.h"
#include "style/cascade/OutsideRecord.h"
#include "style/cascade/RunStyleMemo.h"
#include "style/cascade/SiblingStyle.h"
#include "style/cascade/StyleMerge.h"
#include "style/records/StyleRecords.h"

namespace {

// The kinds that show tag markers (a, span, img, p, div, table, lists,
// strong, em, sub, sup, headings, address, blockquote, the phrase kinds, dl,
// q, object and other tags).
bool ShowsMarkers(const CElement* e)
{
    const long k = e->m_kind;
    const bool kind = k == kKindA || k == kKindSpan || k == kKindImg || k == kKindP || k == kKindDiv
        || k == kKindTable || k == kKindUl || k == kKindOl || k == kKindStrong || k == kKindEm
        || k == kKindSub || k == kKindSup || (k >= kKindH1 && k <= kKindAddress) || k == kKindBlockquote
        || (k >= kKindAbbr && k <= kKindVar) || k == kKindDl || k == kKindQ || k == kKindObject
        || k == kKindCustom;
    return kind && !e->IsTag("small") && !e->IsTag("big") && !e->IsTag("tt") && !e->IsTag("label");
}

// The label: "element-name" is the tag name, "attr(name)" that attribute's
// value, any other text the label itself; empty becomes one blank.
void RefreshMarkerLabel(CElement* e)
{
    if (e->HasRare())
        e->EditRare().m_markerLabel.Empty();
    const NewStringStyleValue& cell = e->Style().markerLabel;
    if (!cell.set || !ShowsMarkers(e))
        return;
    CSafeBuf label(cell.text);
    if (label == "element-name") {
        label = e->GetTagName();
    } else if (label.Find("attr(") == 0 && label.Find(')') > 5) {
        CSafeBuf name = label.Mid(5, label.Find(')') - 5);
        name.Trim();
        label.Empty();
        e->m_attributes.Lookup(static_cast<const unsigned short*>(name), label);
    }
    if (label.IsEmpty())
        label = " ";
    e->EditRare().m_markerLabel = label;
}

// Merges the style text of the extra attribute map and then of the style
// attribute, each with origin 2.
void ApplyStyleAttributes(CElement* e)
{
    const CMapStringToString* maps[] = {&e->Rare().m_attributes2, &e->m_attributes};
    for (const CMapStringToString* map : maps) {
        // Most elements have no attributes: no text buffer is made for them.
        if (map->IsEmpty())
            continue;
        CSafeBuf text;
        if (!map->Lookup("style", text) || text.IsEmpty())
            continue;
        ELEMENT_STYLE record{};
        ParseStyleString(text, &record, e);
        SetNewStyle(e, &record, kOriginStyleAttribute, false);
    }
}

// Lists carry their indentation on the side where lines start.
void PlaceSideGap(CElement* e)
{
    if (!e->m_list)
        return;
    constexpr int kIndent = 50;
    const bool rtl = e->Style().rtl != 0;
    e->m_defaultMargin.left = rtl ? 0 : kIndent;
    e->m_defaultMargin.right = rtl ? kIndent : 0;
}

bool HasAttributes(const CElement* e)
{
    return !e->m_attributes.IsEmpty() || (e->HasRare() && !e->Rare().m_attributes2.IsEmpty());
}

// A text run without attributes: no rule, presentational attribute or
// style text applies to it, so what it inherits is its whole style.
bool InheritsOnly(const CElement* e) { return e->IsTextElement() && !e->m_tagName[0] && !HasAttributes(e); }

// Every source after the defaults, in order: the parent's values, rules,
// presentational attributes and the style attribute.
void Recompute(CElement* e)
{
    CElement* parent = e->m_parent;
    if (parent) {
        if (e->m_owner && e->m_owner->m_doc.m_rightToLeft) {
            SetStyleType(
                &e->EditStyle().direction, kDirectionRtl, 0, 0, kOriginNone, true, false, false, nullptr);
            e->EditStyle().rtl = 1;
        }
        e->CopyFromParent(parent, 1);
    }
    // Inheriting a second time after no other source would change nothing.
    bool boxRecorded = false;
    if (!InheritsOnly(e)) {
        // What ApplyCSS does. It inherits again (mode 4) after the rules;
        // when no rule was merged that gives what the inheritance above gave
        // (the direction flag and the available area, from the same parent),
        // except for a center, whose area the first one left alone.
        if (e->m_tagName[0]) {
            const bool merged = MergeMatchingRules(e);
            if (parent && (merged || e->m_kind == kKindCenter))
                e->CopyFromParent(parent, 4);
            e->SetAttrFromStyle();
        }
        // Only attributes change the style after the rules (the side gap is
        // no input of the inheritance nor of SetAttrFromStyle), so for a
        // tagged element without any both would be done again to the same
        // effect.
        boxRecorded = e->m_tagName[0] && !HasAttributes(e);
        e->ApplyAttrSyle();
        ApplyStyleAttributes(e);
        PlaceSideGap(e);
        if (parent && !boxRecorded)
            e->CopyFromParent(parent, 4);
    }
    if (!boxRecorded)
        e->SetAttrFromStyle();
    RefreshMarkerLabel(e);
}

// The sibling's record is tried first: after a read, an element's record
// before is the one it was read with, which the restyle seldom gives again,
// while a sibling's is often equal. Equal shared records are one record, so
// the order decides only how soon it is found.
void ShareRecomputed(CElement* e, const CSharedStyle& before)
{
    if (const CSharedStyle* likely = LikelySiblingStyle(e))
        e->m_style.Share(*likely, before);
    else
        e->m_style.Share(before);
}

// A run whose inputs are those of a run restyled shortly before takes that
// run's record and is given what the rest of the restyle does outside the
// record: ResetStyle's and CopyFromParent's parts there, the box size it
// records and the marker label (emptied: a run shows no markers). False
// when no remembered run matches.
bool TakeRememberedRunStyle(CElement* e, const RunStyleKey& key, bool clearBox)
{
    const CSharedStyle* result = FindRunStyle(key);
    if (!result)
        return false;
    e->m_style = *result;
    ResetOutsideRecord(e, clearBox);
    InheritOutsideRecord(e, e->m_parent);
    e->SetAttrFromStyle();
    RefreshMarkerLabel(e);
    return true;
}

// The style afresh: reset, recomputed from every source and shared.
void Restyle(CElement* e, bool clearBox)
{
    RunStyleKey key{};
    const bool run = RunStyleKeyOf(e, key);
    if (run && TakeRememberedRunStyle(e, key, clearBox))
        return;
    const CSharedStyle before = e->m_style.IsShared() ? e->m_style : CSharedStyle();
    e->ResetStyle(clearBox);
    Recompute(e);
    ShareRecomputed(e, before);
    if (run)
        RememberRunStyle(key, e->m_style);
}

} // namespace

const CSharedStyle* LikelySiblingStyle(const CElement* e)
{
    int tries = 4;
    for (const CElement* s = e->m_prevSibling; s && tries > 0; s = s->m_prevSibling, --tries) {
        if (s->m_kind == e->m_kind)
            return &s->m_style;
    }
    return e->m_prevSibling ? &e->m_prevSibling->m_style : nullptr;
}

// A recomputed style is shared with the elements whose styles equal it
// (SharedStyle.h).
bool CElement::StyleChanged(int mode)
{
    MarkLayoutChanged();
    const CRunStyleScope scope;
    const int m = mode & 0x7FFF;
    if (m == 1 || m == 2) {
        // A sibling before, restyled already when a parent restyles its
        // children this way, often ends with an equal style.
        if (!(mode & 0x8000)) {
            Restyle(this, m_kind != kKindBody);
        } else {
            const CSharedStyle before = m_style.IsShared() ? m_style : CSharedStyle();
            Recompute(this);
            ShareRecomputed(this, before);
        }
    }
    if (m == 2)
        return true;
    for (CElement* child = m_firstChild; child; child = child->m_nextSibling) {
        // Siblings often end with equal styles (the runs of a paragraph,
        // the items of a list): one before, restyled already, is tried
        // before the table.
        // After a read the restyle comes to elements the read left long
        // before, and reads or writes every line of their records: the
        // elements that may come next are asked for while this one is
        // restyled.
        PrefetchElement(child->m_nextSibling, kElementRecordLines);
        PrefetchElement(child->m_firstChild, kElementRecordLines);
        if (m == 0)
            Restyle(child, true);
        child->StyleChanged(mode);
    }
    return true;
}
