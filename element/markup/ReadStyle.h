#pragma once
// Styling while a tree is read.
//
// A read that consumes its nodes (ReadConsumingNodes) is restyled as a whole
// once it has ended, by the body at its end or by its caller. The elements
// inside the element it reads are then not styled as they are read: they
// are linked without inheriting, keep only what their presentational
// attributes set, and take their styles once, in that restyle. Where the
// read itself needs a style (whether a table row runs right to left), the
// element and the ancestors it inherits from are styled then, as the read
// would have styled them.

#include <cstddef>

class CElement;
class CSafeBuf;

// Styling left to the restyle after the read, for the elements inside top,
// while the scope lasts. A scope inside another stands for the inner read.
class CStyleLaterScope
{
public:
    explicit CStyleLaterScope(const CElement* top);
    ~CStyleLaterScope();
    CStyleLaterScope(const CStyleLaterScope&) = delete;
    CStyleLaterScope& operator=(const CStyleLaterScope&) = delete;

    // What the read leaves for later (ReadStyle.cpp).
    struct State;

private:
    State* m_state;
    State* m_outer;
};

// A read made while the scope lasts styles its elements as it reads them,
// whatever scope stands outside: for content read from within the restyle
// after a read (a sub-document's), which no restyle follows.
class CStyleNowScope
{
public:
    CStyleNowScope();
    ~CStyleNowScope();
    CStyleNowScope(const CStyleNowScope&) = delete;
    CStyleNowScope& operator=(const CStyleNowScope&) = delete;

private:
    CStyleLaterScope::State* m_outer;
};

// Whether e's styling is left to the restyle after the read (e is inside the
// element a scope reads).
bool StylesLater(const CElement* e);

// Links child as parent's last child; it inherits from parent now unless its
// styling is left for later.
bool AppendAsRead(CElement* parent, CElement* child);

// What reading an element's attributes gives its style after the
// presentational ones: the style attribute (styleText), the rules, and the
// lengths and box that follow.
void StyleAsRead(CElement* e, const CSafeBuf& styleText);

// Whether e is right to left as the read styles it, styling e and the
// ancestors it inherits from where their styling was left for later.
// Where nothing can make e right to left (no rule of the document's sheets
// sets a direction, the document runs left to right, and neither e nor an
// ancestor left for later has a dir or style attribute), it is answered
// without styling them.
bool RightToLeftAsRead(CElement* e);

// That answer without styling on (the default) or off, for comparing the
// two in tests; and the rows it answered since the process started.
void SetRowDirectionUnstyled(bool on);
size_t RowsAnsweredUnstyled();
