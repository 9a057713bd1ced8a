#pragma once
// One iterative walk over an element tree that knows where each element is
// painted: its document position by the painting rules. An element's box is
// placed at its parent's painting origin plus its position; a float not
// inside another float is painted by the float pass, whose origin adds each
// ancestor's y and x, except the x of inline ancestors. Floats are the
// elements the layout placed as floats (in the body's float list). No
// recursion, so a tree of any depth is walked.

#include "base/geometry/Point.h"
#include "element/Element.h"

#include <vector>

namespace qm::paint {

// pre(e, position) is called in document order and answers whether to visit
// e's children; post(e, position) follows e's children when they were
// visited.
template <class Pre, class Post>
void WalkDocument(CElement* root, Pre&& pre, Post&& post);

// The same over the subtree of e alone, given what the walk from the root
// would hand e: its parent's painting origin, the float pass's origin and
// whether an ancestor floats.
template <class Pre, class Post>
void WalkSubtree(CElement* e, CPoint origin, CPoint floatOrigin, bool inFloat, Pre&& pre, Post&& post)
{
    struct Frame
    {
        CElement* e;
        CPoint origin;      // the parent's painting origin
        CPoint floatOrigin; // what the float pass hands to e
        bool inFloat;       // an ancestor floats
        CPoint position;    // e's document position, once entered
        CElement* next;     // the next child to visit
        bool entered;
    };
    if (!e)
        return;
    std::vector<Frame> stack;
    stack.push_back(Frame{e, origin, floatOrigin, inFloat, CPoint(), nullptr, false});
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (!f.entered) {
            f.entered = true;
            const bool floats = f.e->m_floating != 0;
            f.position = floats && !f.inFloat ? f.floatOrigin : f.origin;
            f.position += f.e->Lay().m_position;
            if (!pre(f.e, f.position)) {
                stack.pop_back();
                continue;
            }
            f.next = f.e->m_firstChild;
        }
        if (f.next) {
            CElement* child = f.next;
            f.next = child->m_nextSibling;
            CPoint floatOrigin = f.floatOrigin;
            floatOrigin.y += f.e->Lay().m_position.y;
            if (!f.e->m_inline)
                floatOrigin.x += f.e->Lay().m_position.x;
            const bool inFloat = f.inFloat || f.e->m_floating;
            const CPoint origin = f.position;
            stack.push_back(Frame{child, origin, floatOrigin, inFloat, CPoint(), nullptr, false});
            continue;
        }
        CElement* e = f.e;
        const CPoint position = f.position;
        stack.pop_back();
        post(e, position);
    }
}

template <class Pre, class Post>
void WalkDocument(CElement* root, Pre&& pre, Post&& post)
{
    WalkSubtree(root, CPoint(), CPoint(), false, pre, post);
}

} // namespace qm::paint
