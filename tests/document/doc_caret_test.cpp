// The document's caret operations on laid-out documents: each case of
// tests/data/doc_caret/cases.txt is markup with the marks of
// tests/element/support/MarkedDocument.h (_m names an element, _sel selects,
// _caret places the caret), shown in a 400 x 300 view with the caret on,
// then operations, one a line; the output has a line per operation with the
// caret it leaves: its element (a text run as its text in quotes) and
// offset.
//
//   tab, shifttab          MoveCursorToNextCell from the caret element
//   click NAME X Y FLAGS   SetKeyToPosition at a point of NAME's box: X
//                          from its left edge (rN: from its right), Y from
//                          its top (bN: from its bottom)
//   firstsel start|end     SetPositionToFirstSel
//   putin NAME             PutCursorIn
//   next NAME              MoveFocusToNextElement

#include "tests/common/CaseBlocks.h"
#include "tests/document/support/ViewedDocument.h"

#include "element/Element.h"
#include "style/layout/ElementPosition.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using qmtest::ViewedDocument;

std::string Caret(const CXDoc& doc)
{
    const CElement* e = doc.m_caretElement;
    return e ? qmtest::Describe(e) + " " + std::to_string(e->m_caretOffset) : "none";
}

// "NAME X Y" into a document point.
bool ReadPoint(std::istringstream& words, ViewedDocument& v, CPoint& pt)
{
    std::string name, x, y;
    words >> name >> x >> y;
    const CElement* e = v.marked.Marked(name);
    if (!e || x.empty() || y.empty())
        return false;
    const CRect box = DocumentRect(e);
    pt.x = x[0] == 'r' ? box.right + std::stoi(x.substr(1)) : box.left + std::stoi(x);
    pt.y = y[0] == 'b' ? box.bottom + std::stoi(y.substr(1)) : box.top + std::stoi(y);
    return true;
}

std::string RunOperation(const std::string& op, ViewedDocument& v)
{
    std::istringstream words(op);
    std::string name, arg;
    words >> name;
    CXDoc& doc = v.doc;
    if (name == "tab" || name == "shifttab") {
        doc.MoveCursorToNextCell(doc.m_caretElement, name == "tab");
    } else if (name == "click") {
        CPoint pt;
        unsigned int flags = 0;
        if (!ReadPoint(words, v, pt) || !(words >> flags))
            return "bad point";
        doc.SetKeyToPosition(pt, flags);
    } else if (name == "firstsel") {
        words >> arg;
        const CElement* answer = doc.SetPositionToFirstSel(arg == "start");
        if (!answer)
            return "null, " + Caret(doc);
    } else if (name == "putin" || name == "next") {
        words >> arg;
        CElement* e = v.marked.Marked(arg);
        if (!e)
            return "no element " + arg;
        if (name == "putin")
            doc.PutCursorIn(e);
        else if (!doc.MoveFocusToNextElement(e))
            return "null, " + Caret(doc);
    } else {
        return "unknown operation";
    }
    return Caret(doc);
}

TEST(DocumentCaret, Cases)
{
    qmtest::CaseBlockFile file("doc_caret/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::istringstream lines(c.input);
        std::string markup, line, out;
        std::getline(lines, markup);
        ViewedDocument v;
        if (!v.Show(markup, 400, 300)) {
            file.Check(c, "unreadable");
            continue;
        }
        v.doc.m_caretEnabled = 1;
        while (std::getline(lines, line)) {
            if (line.rfind("> ", 0) == 0)
                out += line + "\n" + RunOperation(line.substr(2), v) + "\n";
        }
        file.Check(c, out);
    }
}

} // namespace
