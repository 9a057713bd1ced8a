#include "style/layout/BlockShift.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/paint/BodyRows.h"
#include "style/paint/PaintWalk.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// parent lays its children out in lines whose places depend on nothing but
// the lines before them.
bool LinesFollowOnly(const CElement* parent)
{
    const CElement* root = parent->m_root ? parent->m_root : parent;
    if (root->Rare().m_floatList.GetCount() > 0 || parent->Rare().m_floatList.GetCount() > 0)
        return false;
    if (parent->m_inline || !LaysOutAsBlock(parent) || parent->m_tablePart || parent->m_tableCell
        || parent->IsFloatType() || parent->m_kind == kKindP || parent->Style().rtl)
        return false;
    if (parent->m_owner && parent->m_owner->m_doc.m_rightToLeft)
        return false;
    const std::uint16_t horizontal = parent->Style().align & kAlignHorizontalMask;
    const std::uint16_t vertical = parent->Style().align & kAlignVerticalMask;
    if (horizontal == kAlignCenter || horizontal == kAlignRight || vertical == kAlignMiddle
        || vertical == kAlignBottom)
        return false;
    // A height of its own (or a percentage) holds the box whatever its lines.
    return parent->Lay().m_cssRect.bottom <= 0 && !parent->Style().heightSet;
}

// The body's children after an edited one, from the body's entries: the
// entries lie side by side, so the layout records they point to are asked
// for far ahead and many come from memory at once, and the elements
// themselves are not read.
void ShiftEntries(CElementLayout* const* lays, size_t count, int dy)
{
    constexpr size_t kAhead = 32;
    for (size_t i = 0; i < count; ++i) {
        if (i + kAhead < count)
            __builtin_prefetch(&lays[i + kAhead]->m_position, 1);
        CPoint& position = lays[i]->m_position;
        position.y = AddCoord(position.y, dy);
    }
}

// The siblings after child through the list. They lie far apart in memory
// and the list is walked one link at a time, so the memory of the siblings
// the last walk met is fetched ahead (typing moves the same siblings again
// and again). The addresses are kept as numbers and only handed to the
// processor as hints: nothing is read through them, and a list changed
// since costs only the hints.
void ShiftSiblings(CElement* child, int dy)
{
    static std::vector<std::uintptr_t> lastWalk;
    constexpr size_t kAhead = 24;
    const auto at = [](const void* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const std::uintptr_t nextOffset = at(&child->m_nextSibling) - at(child);
    const std::uintptr_t positionOffset = at(&child->Lay().m_position) - at(child);
    const bool hints = !lastWalk.empty() && lastWalk.front() == at(child->m_nextSibling);
    size_t i = 0;
    for (CElement* s = child->m_nextSibling; s; s = s->m_nextSibling, ++i) {
        if (hints && i + kAhead < lastWalk.size()) {
            __builtin_prefetch(reinterpret_cast<const void*>(lastWalk[i + kAhead] + nextOffset));
            __builtin_prefetch(reinterpret_cast<const void*>(lastWalk[i + kAhead] + positionOffset), 1);
        }
        s->Lay().m_position.y = AddCoord(s->Lay().m_position.y, dy);
        if (i < lastWalk.size())
            lastWalk[i] = at(s);
        else
            lastWalk.push_back(at(s));
    }
    lastWalk.resize(i);
}

} // namespace

bool ShiftFollowing(CElement* parent, CElement* child, const CRect& childBefore, CPoint baselineBefore)
{
    if (!parent || !child || child->m_parent != parent || !LinesFollowOnly(parent))
        return false;
    // The block alone on its line, as wide as before, its first baseline
    // where it was (a baseline of 0 stands for the box's height).
    const CRect& now = child->Lay().m_sizeRect;
    if (child->m_inline || !StandsOnOwnLine(child) || child->IsFloatType() || now.left != childBefore.left
        || now.right != childBefore.right || now.top != childBefore.top
        || child->Lay().m_baseline != baselineBefore || child->Lay().m_baseline.y <= 0)
        return false;
    const long dy = static_cast<long>(now.bottom - now.top) - (childBefore.bottom - childBefore.top);
    // Far from the coordinate limit, where a layout would clamp.
    const long bottom = static_cast<long>(parent->Lay().m_sizeRect.bottom);
    if (dy == 0 || bottom < 0 || bottom + std::labs(dy) >= kMaxLayoutCoord / 2)
        return false;
    // No float stands in the document, so no float index entry depends on
    // these boxes: their positions are set directly, one store each.
    size_t count = 0;
    if (CElementLayout* const* after
        = qm::paint::IsRoot(parent) ? qm::paint::BodyLayoutsAfter(parent, child, count) : nullptr)
        ShiftEntries(after, count, int(dy));
    else
        ShiftSiblings(child, int(dy));
    parent->Lay().m_sizeRect.bottom = AddCoord(parent->Lay().m_sizeRect.bottom, dy);
    if (qm::paint::IsRoot(parent))
        qm::paint::NoteBodyShift(parent, child, int(dy));
    return true;
}
