#pragma once
// The data of an element: tree links, kind and flags, tag name, attributes,
// text, computed style, caret and selection state, layout geometry and its
// registry membership. CElement (Element.h) derives from this record and
// adds the operations; code that works on elements reads and writes these
// members directly, as the layout, cascade and editing code do.
//
// Invariants kept by the child-list operations: the children form a doubly
// linked list through m_prevSibling and m_nextSibling, with m_firstChild,
// m_lastChild and m_childCount in step, and every child's m_parent is the
// list's owner. An element made by the factory stays in its document's
// registry from creation until its destructor runs.
//
// Ownership: an element owns its children, attributes, text, its rarely
// used fields and, on the root, its base URL string and drawing context.
// Parent, root, owner, rule list and siblings are borrowed.
//
// Size and order. A large document holds tens of thousands of elements, and
// a walk over the tree waits for each record it touches, so a record holds
// what most elements use and no more: the computed style is a handle to a
// record shared by the elements whose styles are equal (SharedStyle.h), the
// tag name a handle to a text held once (TagName.h), and the fields that
// few elements use stand out of line in CElementRare, made when one of them
// is first written. Small values have small types: flags and codes of a few
// values are bytes, counts and offsets within a text are ints.
//
// Element records come from the pool in 64-byte granules, aligned to a
// cache line, so the order of the fields decides which lines a walk reads.
// The fields the writer and its prefetch lanes read for every element (the
// object's kind table, first child, next sibling, parent, kind and flags,
// tag name, text, attributes and owner) fill the first two lines (the first
// 128 bytes of a CElement, its table pointer included), which
// ElementPrefetch.h asks for; the identity, the other links, the style and
// the registry follow in the next two; the caret, selection, layout and
// painting fields come last. A field added to the first two lines must push
// another out (tests/element/element_memory_test.cpp checks that the
// writer's fields stay there); a field that few elements use
// belongs in CElementRare.

#include "base/collections/MapStringToString.h"
#include "base/collections/PtrList.h"
#include "base/geometry/Colour.h"
#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"
#include "base/text/SafeBuf.h"
#include "element/ElementLayout.h"
#include "element/TagName.h"
#include "style/records/SharedStyle.h"

#include <cstdint>
#include <memory>
#include <vector>

class CElement;
class CElementRegistry;
class CXHTMLServices;
struct STYLE_CLASS;
namespace qm::cg {
class Context;
}

// The fields that few elements use: the root's float list and base URL,
// the scratch that the cascade fills for table cells of column groups, and
// the tag markers of elements that show them.
struct CElementRare
{
    CPtrList m_floatList;                // on the root only: the floating elements
    std::unique_ptr<CSafeBuf> m_baseURL; // body only: href of the document's base
    // Scratch of the cascade, emptied by ResetStyle.
    CMapStringToString m_attributes2;
    CPtrList m_stylePieces;
    // The tag-marker label worked out from the style's -qm-marker-label when
    // the style was last computed; empty: no markers.
    CSafeBuf m_markerLabel;
    // Tag markers (style/paint/TagMarkers.h): the sizes of the start and end
    // boxes reserved by the last layout (right, bottom; empty: none).
    CRect m_startMarker;
    CRect m_endMarker;
};

// The default margins the factory gives (SetMargin), in pixels.
struct CDefaultMargin
{
    short left = 0;
    short top = 0;
    short right = 0;
    short bottom = 0;
};

class CElementFields
{
public:
    CElementFields();
    ~CElementFields();
    CElementFields(const CElementFields&) = delete;
    CElementFields& operator=(const CElementFields&) = delete;

    // ==== first cache line (after the object's kind table) ====
    // ---- the tree links the walks follow ----
    CElement* m_firstChild = nullptr;
    CElement* m_nextSibling = nullptr;
    CElement* m_parent = nullptr; // null for the root

    // ---- kind and kind flags ----
    long m_kind = 0;               // kind code (ElementKinds.h); 0 until the factory sets it
    unsigned char m_tablePart = 0; // table, row group, row, cell, caption
    unsigned char m_tableCell = 0;
    unsigned char m_inline = 0;
    unsigned char m_block = 0;
    unsigned char m_list = 0;    // ul, ol
    unsigned char m_defList = 0; // dl
    unsigned char m_heading = 0;
    unsigned char m_layoutFlag = 0; // one more layout flag
    unsigned char m_lineBox = 0;    // lays inline content out in lines
    unsigned char m_canWrap = 0;    // inline content that flows in lines
    unsigned char m_breakAfter = 0; // dd, dt, br
    unsigned char m_noChild = 0;    // cannot hold children; written with " />"
    // Content flags. The first is the container flag: the element may hold
    // children (cleared for inline kinds, images and text runs). The second
    // is set for pre, dd, dt and body. The third is the edge-caret flag: the
    // element is a caret stop of its own, before (0) or after (1) it (pre,
    // hr, lists, table, dl, img, div, form, fieldset, blockquote).
    unsigned char m_container = 1;
    unsigned char m_contentFlag2 = 0;
    unsigned char m_edgeCaret = 0;
    // Locked against editing; the writer omits a locked element's own tags.
    unsigned char m_locked = 0;

    CTagName m_tagName; // as written; empty for a text run

    // ==== second cache line ====
    // The characters of a text run; the legend markup of a fieldset; the
    // text of a comment.
    CSafeBuf m_text;
    CMapStringToString m_attributes;   // names as written, in document order
    CXHTMLServices* m_owner = nullptr; // the editing engine; reaches the document

    // ==== third and fourth cache lines ====
    // ---- identity ----
    // A serial number given at construction, never reused in the process and
    // never changed (CElement::GetID).
    long m_id = 0;

    // ---- the other tree links ----
    CElement* m_root = nullptr; // the document's body; a body is its own root
    CElement* m_lastChild = nullptr;
    CElement* m_prevSibling = nullptr;

    // ---- style and document ----
    // Read through Style(); written through EditStyle(), which makes the
    // record the element's own first (SharedStyle.h). Assigning m_style
    // gives the element another element's style.
    const ELEMENT_STYLE& Style() const { return m_style.Get(); }
    ELEMENT_STYLE& EditStyle()
    {
        // A layout pass's own edits are made again by every pass; any other
        // edit changes what the element lays out as.
        if (!s_styleEdits)
            MarkLayoutChanged();
        else if (m_style.IsShared())
            s_styleEdits->push_back(this);
        return m_style.Edit();
    }
    CSharedStyle m_style;
    // While a layout pass runs (LayoutPass.cpp): the elements whose shared
    // style record EditStyle made their own, to be shared again at its end.
    static inline std::vector<CElementFields*>* s_styleEdits = nullptr;
    STYLE_CLASS* m_rules = nullptr; // the document's rules; not owned
    // The rarely used fields: Rare() reads them (empty ones when the element
    // has none), EditRare() makes them first.
    const CElementRare& Rare() const { return m_rare ? *m_rare : kNoRare; }
    CElementRare& EditRare();
    bool HasRare() const { return m_rare != nullptr; }
    std::unique_ptr<CElementRare> m_rare;
    static const CElementRare kNoRare;
    long m_inlineGroup = 0; // shared by the pieces of one wrapped inline element

    // ---- registry membership (kept by CElementRegistry) ----
    CElement* m_registryNext = nullptr;     // next element of the same bucket
    CElement* m_registryPrevious = nullptr; // previous one (unlinking without a walk)
    CElementRegistry* m_registry = nullptr; // the registry holding the element

    // ---- document ----
    std::unique_ptr<qm::cg::Context> m_dc; // root only: the offscreen bitmap's context

    int m_childCount = 0;                           // in step with the child list
    std::uint32_t m_drawColor = RGB(255, 255, 255); // current drawing colour

    // ---- kind flags the walks seldom read ----
    unsigned char m_floating = 0;    // entered in the root's float list
    unsigned char m_captionSide = 0; // the factory sets 2 for caption
    // Inheritance (with m_linkState): the element takes no font and text
    // values from its parent (m_noInherit); its text direction is forced
    // (m_dirOverride: bdo and everything inside one).
    unsigned char m_noInherit = 0;
    unsigned char m_dirOverride = 0;
    // The link state: 0 none, 1 inside an a with an href, 2 inside an a
    // without one (CopyFromParent).
    unsigned char m_linkState = 0;
    unsigned char m_registryBucket = 0; // bucket index of m_id (CElementRegistry)

    // ==== the rest ====
    // ---- caret and selection ----
    unsigned char m_selected = 0;
    // Set by PackSelection on an element it wrapped and on its descendants:
    // 1 when the wrapper has a non-empty href, 2 when it has none.
    unsigned char m_packMark = 0;
    long m_caretOffset = 0; // in a text run an index; else 0 before, 1 after
    long m_selStart = 0;    // selected characters of a text run, inclusive
    long m_selEnd = 0;
    unsigned char m_selectable = 0; // selectable as a whole
    unsigned char m_prevSelected = 0;
    unsigned char m_wholeCell = 0;  // a table cell or caption selected as a whole
    unsigned char m_wholeTable = 0; // a table selected as a whole

    // ---- layout fields set by the factory ----
    CDefaultMargin m_defaultMargin; // left, top, right, bottom set by the factory (SetMargin)

    // ---- layout, painting and repaint records ----
    // Read and written through Lay(), which makes the record on first use:
    // an element that is never laid out (a tree read and written back) does
    // not carry them. A const element without one reads the defaults.
    CElementLayout& Lay() { return m_layout ? *m_layout : MakeLayout(); }
    const CElementLayout& Lay() const { return LayOrDefault(); }
    // Reads the record without making it (the defaults when there is none).
    const CElementLayout& LayOrDefault() const { return m_layout ? *m_layout : kNoLayout; }
    bool HasLayout() const { return m_layout != nullptr; }
    // Sets one field of the record; on an element without a record, a value
    // equal to the default is left unwritten and makes none (styling a tree
    // that is never laid out writes only such values).
    template <typename T>
    void SetLay(T CElementLayout::*field, const T& value)
    {
        if (m_layout || !(value == kNoLayout.*field))
            Lay().*field = value;
    }
    static const CElementLayout kNoLayout;
    // Whether the next partial repaint must paint the element whatever its
    // geometry (set by edits, with the records of CElementLayout).
    unsigned char m_forceRepaint = 0;

    // ---- painting ----
    unsigned char m_handlesShown = 0;    // resize handles drawn around an img or table
    unsigned char m_outlineSelected = 0; // selected for outline: a temporary border
    unsigned char m_outlineSolid = 0;    // the outline is solid light grey, not dotted
    unsigned char m_changed = 0;         // needs repaint (CleanChanged)
    unsigned char m_hover = 0;           // the pointer is over the element (MouseEnterElement)

    // ---- layout reuse ----
    // What changed on the element since a layout last laid out the block
    // around it whole: bits of kLayoutChangedSelf (its style, attributes or
    // place in the tree) and kLayoutChangedChildren (its child list). A new
    // element starts with both. The tree primitives, style edits outside a
    // layout, restyling and attribute setters set them; texts are checked by
    // their change counts instead (style/layout/LayoutReuse.h). Only the
    // element is marked: an unlinked element keeps a parent pointer that may
    // outlive its parent, so nothing climbs from it.
    static constexpr unsigned char kLayoutChangedSelf = 1;
    static constexpr unsigned char kLayoutChangedChildren = 2;
    unsigned char m_layoutChanges = kLayoutChangedSelf | kLayoutChangedChildren;
    void MarkLayoutChanged(unsigned char bits = kLayoutChangedSelf) { m_layoutChanges |= bits; }

private:
    CElementLayout& MakeLayout();
    std::unique_ptr<CElementLayout> m_layout;
};
