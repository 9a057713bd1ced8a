// Caret stops, moves, hit-testing and keys on laid-out documents: each case
// of tests/data/caret/cases.txt is markup read through the reader and laid
// out at 400 pixels, then operations, one a line ("> op args"); the output
// has a line per operation with the caret it leaves ("path offset", or what
// the operation answers). Points are given against an element's document
// box: "PATH dx dy", dx from its left edge (or "r-2": from its right edge),
// dy from its top (or "b-2": from its bottom).
//
//   source          FindCursorFromSource on the body; the markup after it
//   reload          the body written with the caret marker, read back, then
//                   as source
//   caret PATH N    puts the caret on PATH at offset N
//   move D          MoveKeyFocusToNext from the caret element, direction D
//   hit PT          WhereCursorOn at the point
//   near M PT       FindNearElement of the body, mode M, caret stops only
//   key K           OnChar of the caret element: left, right, enter, del,
//                   bs or one character; then the markup
//   stale D         MoveKeyFocusToNext on the body from a destroyed element
//   geometry        the caret element's caret point and length
//   valid           ValidTextInput on the body; the tree with its runs
//   clean D         CleanKeyContext on the caret element; the tree
//   addrun PATH     an empty text run appended to PATH's element
//
// Trees are written tag(children), a text run as its text in quotes, so
// that empty runs show.

#include "tests/common/CaseBlocks.h"
#include "tests/common/ElementPath.h"

#include "editor/XHTML.h"
#include "element/Caret.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes, static_cast<size_t>(n));
    delete[] bytes;
    return out;
}

using qmtest::PathOf;
using qmtest::PathTag;

CElement* Find(CElement* e, const std::string& path)
{
    if (PathOf(e) == path)
        return e;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = Find(c, path))
            return found;
    }
    return nullptr;
}

std::string Caret(CXHTML& engine)
{
    CElement* e = engine.m_doc.m_caretElement;
    return e ? PathOf(e) + " " + std::to_string(e->m_caretOffset) : "none";
}

std::string Markup(const CMarkupDocument& doc)
{
    CSafeBuf out;
    doc.Write(out, 0);
    return Utf8(out);
}

std::string Tree(const CElement* e) { return qmtest::TreeOf(e); }

// "PATH dx dy" read from words into a document point.
bool ReadPoint(std::istringstream& words, CElement* body, CPoint& pt)
{
    std::string path, dx, dy;
    words >> path >> dx >> dy;
    CElement* e = Find(body, path);
    if (!e)
        return false;
    const CRect box = DocumentRect(e);
    pt.x = dx[0] == 'r' ? box.right + std::stoi(dx.substr(1)) : box.left + std::stoi(dx);
    pt.y = dy[0] == 'b' ? box.bottom + std::stoi(dy.substr(1)) : box.top + std::stoi(dy);
    return true;
}

unsigned int KeyCode(const std::string& key)
{
    if (key == "left")
        return 28;
    if (key == "right")
        return 29;
    if (key == "enter")
        return 13;
    if (key == "del")
        return 127;
    if (key == "bs")
        return 8;
    return static_cast<unsigned char>(key[0]);
}

std::string RunOperation(const std::string& op, CXHTML& engine, CMarkupDocument& doc)
{
    CElement* body = doc.Body();
    std::istringstream words(op);
    std::string name;
    words >> name;
    CElement* caret = engine.m_doc.m_caretElement;
    if (name == "reload") {
        CSafeBuf out, a, b, c, error;
        SourceCodeVar var;
        body->GetSourceCode(out, 0, kSourceMarkers, a, b, c, &var);
        const std::string markup = Utf8(out);
        if (!doc.Read(markup.data(), markup.size(), error) || !LayoutDocument(doc.Body(), 400))
            return "unreadable: " + markup;
        body = doc.Body();
        name = "source";
    }
    if (name == "source") {
        SetKeyOnElement(FindCursorFromSource(body));
        return Caret(engine) + "\n" + Markup(doc);
    }
    if (name == "caret") {
        std::string path;
        long offset = 0;
        words >> path >> offset;
        CElement* e = Find(body, path);
        if (!e)
            return "no element " + path;
        e->m_caretOffset = offset;
        SetKeyOnElement(e);
        return Caret(engine);
    }
    if (name == "move" || name == "stale") {
        int direction = 0;
        words >> direction;
        CElement* next = nullptr;
        if (name == "stale") {
            CElement* gone = body->m_firstChild;
            const long id = gone ? gone->GetID() : 0;
            body->RemoveChild(id, true, false);
            next = body->MoveKeyFocusToNext(id, direction);
        } else if (caret) {
            next = caret->MoveKeyFocusToNext(caret->GetID(), direction);
        }
        if (!next)
            return "none, " + Caret(engine);
        SetKeyOnElement(next);
        return Caret(engine);
    }
    if (name == "geometry") {
        if (!caret)
            return "no caret";
        CPoint point(-7, -7);
        const int answer = caret->GetKeyPos(point, -1);
        const CPoint at = DocumentPosition(caret);
        return "answer " + std::to_string(answer) + ", x " + std::to_string(point.x - at.x) + ", y "
            + std::to_string(point.y - at.y) + " from the box, length " + std::to_string(caret->GetKeyLen());
    }
    if (name == "valid") {
        int state = 0;
        body->ValidTextInput(state);
        return Tree(body);
    }
    if (name == "addrun") {
        std::string path;
        words >> path;
        CElement* e = Find(body, path);
        CElement* run = e ? CreateElement("", e->m_rules, e->m_root, e->m_owner) : nullptr;
        if (!run)
            return "no element " + path;
        e->AppendChild(run);
        return Tree(body);
    }
    if (name == "clean") {
        int direction = 0;
        words >> direction;
        const bool answer = CleanKeyContext(caret, direction);
        return std::string(answer ? "true" : "false") + ", " + Caret(engine) + "\n" + Tree(body);
    }
    CPoint pt;
    if (name == "hit") {
        if (!ReadPoint(words, body, pt))
            return "bad point";
        return PathOf(body->WhereCursorOn(pt));
    }
    if (name == "near") {
        int mode = 0;
        words >> mode;
        if (!ReadPoint(words, body, pt))
            return "bad point";
        CPoint best(-1, -1);
        CElement* found = nullptr;
        body->FindNearElement(pt, mode, best, &found, 0, true, caret);
        return PathOf(found);
    }
    if (name == "key") {
        std::string key;
        words >> key;
        if (!caret)
            return "no caret";
        bool flag = false;
        CPoint point;
        int length = 0;
        CElement* to = nullptr;
        const bool handled = caret->OnChar(KeyCode(key), 1, 0, flag, point, length, to, false);
        if (to)
            SetKeyOnElement(to);
        return std::string(handled ? "handled" : "not handled") + ", " + Caret(engine) + "\n" + Markup(doc);
    }
    return "unknown operation " + name;
}

} // namespace

TEST(CaretCases, MarkupInOperationsCaretOut)
{
    qmtest::CaseBlockFile file("caret/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string markup, out;
        std::istringstream lines(c.input);
        std::vector<std::string> ops;
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("> ", 0) == 0)
                ops.push_back(line.substr(2));
            else
                markup += line + "\n";
        }
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error)) << c.name << ": " << Utf8(error);
        ASSERT_TRUE(LayoutDocument(doc.Body(), 400)) << c.name;
        for (const std::string& op : ops)
            out += "> " + op + "\n" + RunOperation(op, engine, doc) + "\n";
        file.Check(c, out);
        engine.m_doc.ReleaseRemovedElements();
    }
}
