// Tests and copies on untyped style cells.

#include "element/StyleCells.h"

namespace {

template <class Cell>
bool CopyForNew(Cell* to, const Cell* from)
{
    if (!to || !from || !from->set || (to->set && !to->inherited))
        return false;
    *to = *from;
    to->set = true;
    to->inherited = 1;
    return true;
}

} // namespace

bool CopyStyleForNew(NewIntStyleValue* to, const NewIntStyleValue* from) { return CopyForNew(to, from); }

bool CopyStyleForNew(NewStringStyleValue* to, const NewStringStyleValue* from)
{
    return CopyForNew(to, from);
}

bool CompareStyle(const NewIntStyleValue* cell, long value)
{
    return cell && cell->set && cell->value == value;
}

bool IsStyleValid(const NewIntStyleValue* cell) { return cell && cell->set; }

bool IsStyleValid(const NewStringStyleValue* cell, bool nonEmpty)
{
    return cell && cell->set && (!nonEmpty || cell->text[0] != 0);
}
