#pragma once
// The elements the editing commands take as one structural piece: a pre, a
// rule, a list or a table. With the caret on one of them (before or after
// it) and nothing selected, the list, alignment and indent commands do
// nothing, and a new rule goes beside it.

#include "element/Element.h"
#include "element/ElementKinds.h"

inline bool HasStructuralFlag(const CElement* e)
{
    if (!e)
        return false;
    const long k = e->m_kind;
    return k == kKindPre || k == kKindHr || k == kKindUl || k == kKindOl || k == kKindTable;
}
