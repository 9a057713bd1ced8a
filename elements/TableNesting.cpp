// The nesting state: one layout runs at a time, on the main thread.

#include "elements/TableNesting.h"

#include "element/Element.h"

namespace {

TableNesting g_nesting;
unsigned long g_requestedTaken = 0;

} // namespace

TableNestingScope::TableNestingScope(const CElement* table) : m_saved(g_nesting)
{
    // A layout that starts inside a table (an edit in a cell) counts the
    // tables around it, so that it lays out as a layout of the whole does.
    g_nesting.depth = g_nesting.depth > 0 ? g_nesting.depth + 1 : TableDepth(table);
}

TableNestingScope::~TableNestingScope() { g_nesting = m_saved; }

TableNesting& TableNestingScope::Current() { return g_nesting; }

int TableDepth(const CElement* table)
{
    int depth = 0;
    for (const CElement* e = table; e; e = e->m_parent) {
        if (e->m_kind == kKindTable)
            ++depth;
    }
    return depth;
}

void NoteRequestedWidthTaken() { ++g_requestedTaken; }

unsigned long RequestedWidthsTaken() { return g_requestedTaken; }
