#pragma once
// The results of recent text-run restyles, for the runs after them.
//
// A text run without attributes only inherits: after its style is reset,
// its record is a function of its parent's record, the document's
// right-to-left flag and its own no-inherit flag (its clear cell is kept
// across the reset, so only runs whose clear cell is all zero are counted).
// A run whose inputs are those of a run restyled shortly before takes that
// run's shared result record instead of recomputing an equal one. The memo
// holds references to the parent records it is keyed by, so a record cannot
// be freed and another made at its address while an entry names it; it is
// emptied when the outermost restyle ends.

#include "style/records/SharedStyle.h"

#include <cstddef>

class CElement;

struct RunStyleKey
{
    const CSharedStyle* parent; // the parent's record, shared
    bool rightToLeft;
    unsigned char noInherit;
};

// Fills key and answers true when e's restyle with a reset is such a
// function of key (e is a text run that only inherits and whose parent's
// record is shared); false otherwise, or while reuse is off.
bool RunStyleKeyOf(const CElement* e, RunStyleKey& key);
// The result a run with key's inputs was given, or null.
const CSharedStyle* FindRunStyle(const RunStyleKey& key);
// Records result (shared) for key's inputs.
void RememberRunStyle(const RunStyleKey& key, const CSharedStyle& result);

// Held while a restyle runs: the memo is emptied when the last one ends.
class CRunStyleScope
{
public:
    CRunStyleScope();
    ~CRunStyleScope();
    CRunStyleScope(const CRunStyleScope&) = delete;
    CRunStyleScope& operator=(const CRunStyleScope&) = delete;
};

// Reuse on (the default) or off, for comparing the two in tests.
void SetRunStyleReuse(bool on);
// Runs that took a remembered result, since the process started.
size_t RunStyleReuseCount();
