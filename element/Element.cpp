// Construction, identity, tag name and kind tests of CElement.

#include "element/Element.h"

#include "base/collections/SlotPool.h"
#include "base/text/U16.h"
#include "element/ElementRegistry.h"
#include "element/factory/TagTables.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"

#include <new>

namespace {

// The last identifier handed out. Identifiers are never reused, so a kept
// identifier names the same element or none (one thread runs the editor).
long g_lastElementId = 0;

// The first 101 units of tag (bytes zero-extended) as the tag name.
template <class Unit>
void CopyTag(CTagName& to, const Unit* tag)
{
    unsigned short units[kTagNameUnits];
    int n = 0;
    if (tag) {
        while (n < kTagNameUnits - 1 && tag[n]) {
            units[n] = static_cast<unsigned short>(tag[n]);
            ++n;
        }
    }
    to.Assign(units, n);
}

// A large document holds tens of thousands of element records: their
// memory comes from a pool, in the order they are made, and stays there
// between trees (SlotPool.h).
// Builds with AddressSanitizer use the system allocator, so that the
// sanitizer sees use after free and leaks of elements.
#if defined(__SANITIZE_ADDRESS__)
#define QM_ELEMENT_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_ELEMENT_POOL 0
#endif
#endif
#ifndef QM_ELEMENT_POOL
#define QM_ELEMENT_POOL 1
#endif

#if QM_ELEMENT_POOL
CSlotPool g_elementPool;
#endif

// Element records and their layout records come from the pool.
void* PoolAllocate(std::size_t size)
{
#if QM_ELEMENT_POOL
    if (void* p = g_elementPool.Allocate(size))
        return p;
    throw std::bad_alloc();
#else
    return ::operator new(size);
#endif
}

void PoolFree(void* p, std::size_t size)
{
#if QM_ELEMENT_POOL
    g_elementPool.Free(p, size);
#else
    (void)size;
    ::operator delete(p);
#endif
}

} // namespace

void* CElement::operator new(std::size_t size) { return PoolAllocate(size); }

void CElement::operator delete(void* p, std::size_t size) { PoolFree(p, size); }

void* CElementLayout::operator new(std::size_t size) { return PoolAllocate(size); }

void CElementLayout::operator delete(void* p, std::size_t size) { PoolFree(p, size); }

const CElementLayout CElementFields::kNoLayout;

CElementLayout& CElementFields::MakeLayout()
{
    m_layout.reset(new CElementLayout);
    return *m_layout;
}

CElementFields::CElementFields() = default;
CElementFields::~CElementFields() = default;

const CElementRare CElementFields::kNoRare;

CElementRare& CElementFields::EditRare()
{
    if (!m_rare)
        m_rare = std::make_unique<CElementRare>();
    return *m_rare;
}

CElement::CElement(STYLE_CLASS* rules)
{
    m_id = ++g_lastElementId;
    m_rules = rules;
}

long LastElementIdentifier() { return g_lastElementId; }

CElement::~CElement()
{
    // The caret never names a destroyed element. The registry is the
    // document's own while the element is registered, so the owner's
    // document is still there to be told.
    if (m_registry && m_owner && m_registry == &m_owner->m_doc.m_registry
        && m_owner->m_doc.m_caretElement == this)
        m_owner->m_doc.m_caretElement = nullptr;
    if (m_registry)
        m_registry->Unregister(this);
    // A leaf other than the body has nothing Release would undo that its
    // members' destructors do not: a large tree's leaves skip the call.
    if (m_firstChild || m_kind == kKindBody)
        Release();
}

long CElement::GetPathID() const
{
    long path = 0;
    for (const CElement* e = this; e; e = e->m_parent)
        path ^= e->m_id;
    return path;
}

bool CElement::IsElementExist(const CElement* e) const { return m_owner && m_owner->m_doc.IsElementExist(e); }

void CElement::SetTagName(const unsigned short* tag, bool apply)
{
    CopyTag(m_tagName, tag);
    if (apply)
        ApplyCSS(nullptr, false);
}

void CElement::SetTagName(const char* tag, bool apply)
{
    CopyTag(m_tagName, reinterpret_cast<const unsigned char*>(tag));
    if (apply)
        ApplyCSS(nullptr, false);
}

void CElement::SetTagName(const CTagName& name, bool apply)
{
    m_tagName.Share(name);
    if (apply)
        ApplyCSS(nullptr, false);
}

bool CElement::IsStandardInlineElement() const { return IsTagInList(InlineTags, m_tagName); }

bool CElement::IsTag(const unsigned short* tag) const { return tag && U16cmp(m_tagName, tag) == 0; }

bool CElement::IsTag(const char* tag) const
{
    if (!tag)
        return false;
    const unsigned short* own = m_tagName;
    const unsigned char* other = reinterpret_cast<const unsigned char*>(tag);
    while (*own && *own == *other) {
        ++own;
        ++other;
    }
    return *own == *other;
}

bool CElement::IsParagraphType() const { return m_kind == kKindP || m_kind == kKindBlockquote; }

bool CElement::IsFloatType() const { return Style().floatSide.set && Style().floatSide.value != kFloatNone; }

long CElement::InlineIDInfo(int op, long id)
{
    if (op == 1) {
        if (id != 0)
            m_inlineGroup = id;
        else if (m_inlineGroup == 0)
            m_inlineGroup = m_id;
    } else if (op == 2) {
        m_inlineGroup = 0;
    }
    return m_inlineGroup;
}

void CElement::SetMargin(int left, int top, int right, int bottom)
{
    if (left >= 0)
        m_defaultMargin.left = left;
    if (top >= 0)
        m_defaultMargin.top = top;
    if (right >= 0)
        m_defaultMargin.right = right;
    if (bottom >= 0)
        m_defaultMargin.bottom = bottom;
}

void CElement::InitElement(int)
{
    if (!m_owner)
        return;
    BuildCDC(nullptr);
    CalculateReg(nullptr, nullptr);
}

bool CElement::GetAttrNoCase(const unsigned short* name, CSafeBuf& value) const
{
    value.Empty();
    if (!name)
        return false;
    // The pairs are compared where they stand, not copied out.
    const CSafeBuf* found = nullptr;
    m_attributes.ForEachPair([name, &found](const CSafeBuf& key, const CSafeBuf& v) {
        if (!found && key.CompareNoCase(name) == 0)
            found = &v;
    });
    if (!found)
        return false;
    value = *found;
    return true;
}

bool CElement::GetAttrNoCase(const char* name, CSafeBuf& value) const
{
    // Short names (all that callers use) are widened on the stack.
    unsigned short wide[32];
    const char* text = name ? name : "";
    size_t n = 0;
    while (text[n] && n < sizeof wide / sizeof wide[0] - 1) {
        wide[n] = static_cast<unsigned char>(text[n]);
        ++n;
    }
    if (text[n]) {
        CSafeBuf longer(reinterpret_cast<const unsigned char*>(text));
        return GetAttrNoCase(static_cast<const unsigned short*>(longer), value);
    }
    wide[n] = 0;
    return GetAttrNoCase(wide, value);
}
