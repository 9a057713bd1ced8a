// CSrcElement: naming, kinds and the tree operations.

#include "document/SrcElement.h"

#include "base/text/U16.h"
#include "document/SrcElementArena.h"
#include "element/markup/SourceCode.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"

namespace {

const char kCommentTag[] = "_comment_";

// The control's search copy of a custom element list, or null without a
// control.
const CControlServices* Control(const CXHTMLServices* owner) { return owner ? owner->m_control : nullptr; }

bool IsWhiteSpaceUnit(unsigned short c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

} // namespace

CSrcElement::CSrcElement(const char* name, CXHTMLServices* owner) : m_owner(owner)
{
    if (name) {
        CSafeBuf wide;
        wide = name;
        Name(wide);
    }
}

CSrcElement::CSrcElement(const unsigned short* name, CXHTMLServices* owner) : m_owner(owner) { Name(name); }

CSrcElement::CSrcElement(CXHTMLServices* owner, CSrcArena* arena) : m_owner(owner), m_arena(arena)
{
    m_tag.UseArena(arena);
    m_text.UseArena(arena);
}

CSrcElement* CSrcElement::NewText(const CSafeBuf& text, CXHTMLServices* owner)
{
    auto* node = new CSrcElement(static_cast<const unsigned short*>(nullptr), owner);
    node->m_text = text;
    return node;
}

CSrcElement::~CSrcElement()
{
    CSrcElement* child = m_firstChild;
    while (child) {
        CSrcElement* next = child->m_next;
        child->m_parent = nullptr;
        delete child;
        child = next;
    }
    if (m_ownsArena)
        m_arena->Release();
}

// ---------------------------------------------------------------- memory

namespace {

// In front of every node made with new: the arena it lives in, or null for
// the heap. Sized to keep the node aligned.
constexpr size_t kNodeHeader = 16;

CSrcArena*& HeaderOf(void* node)
{
    return *reinterpret_cast<CSrcArena**>(static_cast<char*>(node) - kNodeHeader);
}

} // namespace

// Kept out of line: inlined into a new-expression, the compiler pairs the
// global allocation inside with this class's delete and warns of a mismatch,
// though the class's delete is what frees the block (by its header).
__attribute__((noinline)) void* CSrcElement::operator new(size_t size)
{
    char* block = static_cast<char*>(::operator new(size + kNodeHeader));
    void* node = block + kNodeHeader;
    HeaderOf(node) = nullptr;
    return node;
}

void* CSrcElement::operator new(size_t size, CSrcArena& arena)
{
    char* block = static_cast<char*>(arena.Allocate(size + kNodeHeader));
    void* node = block + kNodeHeader;
    HeaderOf(node) = &arena;
    arena.AddRef();
    return node;
}

void CSrcElement::operator delete(void* node)
{
    if (!node)
        return;
    if (CSrcArena* arena = HeaderOf(node))
        arena->Release(); // the room goes back with the arena
    else
        ::operator delete(static_cast<char*>(node) - kNodeHeader);
}

void CSrcElement::operator delete(void* node, CSrcArena& arena)
{
    (void)node;
    arena.Release();
}

CSrcArena& CSrcElement::Arena()
{
    if (!m_arena) {
        m_arena = new CSrcArena;
        m_arena->AddRef();
        m_ownsArena = true;
    }
    return *m_arena;
}

CSrcElement* CSrcElement::NewNode()
{
    CSrcArena& arena = Arena();
    return new (arena) CSrcElement(m_owner, &arena);
}

CSrcElement* CSrcElement::NewElement(const SrcTagInfo* info)
{
    CSrcElement* node = NewNode();
    node->Name(info);
    return node;
}

CSrcElement* CSrcElement::NewElement(const unsigned short* name)
{
    CSrcElement* node = NewNode();
    node->Name(name);
    return node;
}

CSrcElement* CSrcElement::NewElement(const char* name)
{
    CSafeBuf wide;
    wide = name;
    return NewElement(static_cast<const unsigned short*>(wide));
}

// ---------------------------------------------------------------- naming

void CSrcElement::Name(const SrcTagInfo* info)
{
    m_kind = -1;
    m_nonXHTML = 0;
    m_info = info;
    m_tag.AssignLasting(info->wide, info->length);
}

void CSrcElement::Name(const unsigned short* name)
{
    m_kind = -1;
    m_nonXHTML = 0;
    m_info = nullptr;
    if (!name || !*name) {
        m_tag.Empty();
        return;
    }
    if (const SrcTagInfo* info = FindSrcTag(name)) {
        Name(info);
    } else {
        m_tag = name;
        m_nonXHTML = 1;
    }
}

void CSrcElement::SetTag(const unsigned short* name) { Name(name); }

void CSrcElement::SetTag(const char* name)
{
    CSafeBuf wide;
    if (name)
        wide = name;
    Name(wide);
}

bool CSrcElement::IsComment() const { return m_tag == kCommentTag; }

bool CSrcElement::IsKeptWhole() const { return IsTag("script") || IsTag("noscript") || IsTag("style"); }

int CSrcElement::ElementType()
{
    if (m_kind >= 0)
        return m_kind;
    if (m_tag.IsEmpty())
        return m_kind = kText;
    if (m_info && m_info->kind)
        return m_kind = m_info->kind;
    const CControlServices* control = Control(m_owner);
    if (control && CControlServices::IsInElementList(control->CustomBlockElementsSearch, m_tag))
        return m_kind = kOther | kBlock;
    if (control && CControlServices::IsInElementList(control->CustomInlineElementsSearch, m_tag))
        return m_kind = kOther | kInline;
    return m_kind = kOther | (IsThereBlockTypeChild() ? kBlock : kInline);
}

bool CSrcElement::IsThereBlockTypeChild()
{
    for (CSrcElement* c = m_firstChild; c; c = c->m_next) {
        if (!(c->ElementType() & (kInline | kOther | kText)))
            return true;
        if (c->IsThereBlockTypeChild())
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- the list

void CSrcElement::Link(CSrcElement* child, CSrcElement* before)
{
    if (child->m_parent)
        child->m_parent->Unlink(child);
    if (before && before->m_parent != this)
        before = nullptr;
    child->m_parent = this;
    child->m_next = before;
    child->m_previous = before ? before->m_previous : m_lastChild;
    if (child->m_previous)
        child->m_previous->m_next = child;
    else
        m_firstChild = child;
    if (before)
        before->m_previous = child;
    else
        m_lastChild = child;
    ++m_childCount;
}

void CSrcElement::Unlink(CSrcElement* child)
{
    if (child->m_previous)
        child->m_previous->m_next = child->m_next;
    else
        m_firstChild = child->m_next;
    if (child->m_next)
        child->m_next->m_previous = child->m_previous;
    else
        m_lastChild = child->m_previous;
    child->m_parent = child->m_previous = child->m_next = nullptr;
    --m_childCount;
}

void CSrcElement::AppendChild(CSrcElement* child)
{
    if (child && child != this)
        Link(child, nullptr);
}

void CSrcElement::InsertChild(CSrcElement* child, CSrcElement* before)
{
    if (child && child != this)
        Link(child, before);
}

bool CSrcElement::DetachChild(CSrcElement* child)
{
    if (!child || child->m_parent != this)
        return false;
    Unlink(child);
    return true;
}

void CSrcElement::RemoveChild(CSrcElement* child)
{
    if (DetachChild(child))
        delete child;
}

bool CSrcElement::MoveChildrenTo(CSrcElement* source, CSrcElement* target, CSrcElement* after)
{
    if (!source || !target || source == target)
        return false;
    if (source->IsTextNode()) {
        target->m_text += source->m_text;
        return true;
    }
    if (after && after->m_parent != target)
        return false;
    CSrcElement* before = after ? after->m_next : nullptr;
    while (CSrcElement* child = source->m_firstChild)
        target->Link(child, before);
    return true;
}

void CSrcElement::HandDownNamespaces(CSrcElement* child)
{
    void* pos = child->m_attributes.GetStartPosition();
    CSafeBuf name, value, existing;
    while (pos) {
        child->m_attributes.GetNextAssoc(pos, name, value);
        if (name != "xmlns" && U16ncmp(name, "xmlns:", 6) != 0)
            continue;
        for (CSrcElement* c = child->m_firstChild; c; c = c->m_next) {
            if (!c->IsTextNode() && !c->IsComment() && !c->m_attributes.Lookup(name, existing))
                c->m_attributes.SetAt(name, value);
        }
    }
}

CSrcElement* CSrcElement::Unwrap(CSrcElement* child)
{
    if (!child || child->m_parent != this)
        return nullptr;
    CSrcElement* next = child->m_next;
    HandDownNamespaces(child);
    CSrcElement* first = child->m_firstChild;
    MoveChildrenTo(child, this, child);
    RemoveChild(child);
    return first ? first : next;
}

// ---------------------------------------------------------------- queries

void CSrcElement::CleanTextElement()
{
    m_text.Trim();
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->CleanTextElement();
}

CSrcElement* CSrcElement::FindChild(const unsigned short* name, bool deep) const
{
    if (!name)
        return nullptr;
    for (CSrcElement* c = m_firstChild; c; c = c->m_next) {
        if (U16cmp(c->m_tag, name) == 0)
            return c;
        if (deep) {
            if (CSrcElement* found = c->FindChild(name, true))
                return found;
        }
    }
    return nullptr;
}

CSrcElement* CSrcElement::FindChild(const char* name, bool deep) const
{
    if (!name)
        return nullptr;
    CSafeBuf wide;
    wide = name;
    return FindChild(static_cast<const unsigned short*>(wide), deep);
}

void CSrcElement::RelocateChild(const char* name)
{
    CSrcElement* found = FindChild(name, false);
    if (found && found != m_firstChild)
        Link(found, m_firstChild);
}

void CSrcElement::GetAllChildren(CPtrList& list) const
{
    for (CSrcElement* c = m_firstChild; c; c = c->m_next) {
        list.AddTail(c);
        c->GetAllChildren(list);
    }
}

void CSrcElement::GetCurrentTDs(CPtrList& list) const
{
    for (CSrcElement* c = m_firstChild; c; c = c->m_next) {
        if (c->IsTag("td") || c->IsTag("th") || c->IsTag("caption"))
            list.AddTail(c);
        else
            c->GetCurrentTDs(list);
    }
}

void CSrcElement::ReplaceTag(const char* from, const char* to)
{
    if (!from || !to)
        return;
    if (IsTag(from))
        SetTag(to);
    for (CSrcElement* c = m_firstChild; c; c = c->m_next)
        c->ReplaceTag(from, to);
}

bool CSrcElement::IsThereSpace(const unsigned short* text)
{
    for (; text && *text; ++text) {
        if (*text == ' ')
            return true;
    }
    return false;
}

bool CSrcElement::IsValidText(const unsigned short* text)
{
    for (; text && *text; ++text) {
        if (*text > 32)
            return true;
    }
    return false;
}

bool CSrcElement::AllTextAreWhiteSpace() const
{
    if (m_text.IsEmpty())
        return false;
    CSafeBuf text(m_text);
    text.Replace(kCaretMarker, "");
    text.Replace(kSelectionBeginMarker, "");
    text.Replace(kSelectionEndMarker, "");
    const unsigned short* s = text;
    for (int i = 0; i < text.Length(); ++i) {
        if (!IsWhiteSpaceUnit(s[i]))
            return false;
    }
    return true;
}
