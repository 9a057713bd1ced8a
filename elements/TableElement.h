#pragma once
// CTableElement: the table. Made only by the element factory, which stores the final kind code.
//
// Beside its rows a table keeps the column groups read from colgroup and col
// markup outside the element tree: a list of NameValueTree nodes, one per
// group (list: the group's attributes in markup order; left: its first column
// entry; right: the next group). A column entry has the same shape (list: the
// col element's attributes; right: the next entry).

#include "element/Element.h"

struct NameValueTree;

class CTableElement : public CElement
{
public:
    explicit CTableElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindTable; }
    ~CTableElement() override;

    // For a colgroup node (isCol false): a new group with the node's
    // attributes, and one column entry per col child. For a col directly
    // under the table (isCol true): one entry appended to the last group (a
    // new empty group when there is none). The caret marker attribute is not
    // copied.
    void SetColgroup(_xmlNode* node, bool isCol);
    // The column groups as markup; out is emptied first and stays empty
    // without groups. With flag 0x1 each tag stands on a line of its own,
    // indented one TAB a level from indent. Names and values are escaped.
    void GetColgroupSource(CSafeBuf& out, int indent, int flags) const;

    NameValueTree* m_colgroups = nullptr; // owned
};
