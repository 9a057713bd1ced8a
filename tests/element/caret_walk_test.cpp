// Caret walks over whole documents: stepping forward from the first stop to
// the last and backward again visits the same stops in reverse order, ends
// (no stop is visited twice in one direction), and never leaves the caret
// on a destroyed element; keys beside edge stops, picked at random (fixed
// seeds), keep the caret on a live element and the tree writable.

#include "tests/common/TextHelpers.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Caret.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "style/layout/LayoutPass.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kKinds[] = "<p>a<b>b<img src=\"p.png\" width=\"8\" height=\"8\"/></b>c</p><hr/>"
                      "<table><tr><td>d<table><tr><td>e</td></tr></table></td><td><p>f</p></td></tr></table>"
                      "<ul><li>g<ol><li>h</li></ol></li><li><a href=\"#u\"><img src=\"p.png\"/></a></li></ul>"
                      "<div><pre>i\nj</pre><blockquote><p>k</p></blockquote></div>"
                      "<dl><dt>l</dt><dd>m</dd></dl><p><span></span></p>";

std::string Document(int which)
{
    if (which == 0)
        return std::string("<body>") + kKinds + "</body>";
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/markup/genesis.xhtml", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

using Stop = std::pair<long, long>; // element, offset (edge stops only)

// Walks from the first stop in a direction until no stop is left; false when
// a stop comes twice.
bool Walk(CXHTML& engine, CElement* body, int direction, std::vector<Stop>& stops)
{
    const bool forward = direction == 1 || direction == 3;
    CElement* e = body->MoveKeyFocusToNext(0, direction);
    std::set<Stop> seen;
    while (e) {
        SetKeyOnElement(e);
        const Stop stop(e->GetID(), e->m_edgeCaret ? e->m_caretOffset : -1);
        if (!engine.m_doc.IsElementExist(e) || !seen.insert(stop).second)
            return false;
        stops.push_back(stop);
        if (e->IsTextElement())
            e->m_caretOffset = forward ? e->m_text.Length() : 0;
        e = e->MoveKeyFocusToNext(e->GetID(), direction);
    }
    return true;
}

} // namespace

TEST(CaretWalk, ForwardAndBackwardVisitTheSameStops)
{
    for (int which = 0; which < 2; ++which) {
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        const std::string markup = Document(which);
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
        ASSERT_TRUE(LayoutDocument(doc.Body(), 500));
        for (int direction : {1, 3}) {
            std::vector<Stop> forward, backward;
            ASSERT_TRUE(Walk(engine, doc.Body(), direction, forward)) << which << " " << direction;
            ASSERT_TRUE(Walk(engine, doc.Body(), direction - 1, backward)) << which << " " << direction;
            ASSERT_GT(forward.size(), 10u);
            std::vector<Stop> reversed(backward.rbegin(), backward.rend());
            EXPECT_EQ(forward, reversed) << "document " << which << ", direction " << direction;
        }
    }
}

TEST(CaretWalk, RandomKeysBesideEdgeStopsKeepTheCaretLive)
{
    const unsigned int keys[] = {28, 29, 13, 127, 8, 'x'};
    for (unsigned seed = 1; seed <= 3; ++seed) {
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        const std::string markup = Document(0);
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
        ASSERT_TRUE(LayoutDocument(doc.Body(), 500));
        std::mt19937 random(seed);
        for (int i = 0; i < 400; ++i) {
            std::vector<CElement*> all;
            for (CElement* e = doc.Body(); e; e = e->GetElementAfter(0))
                all.push_back(e);
            CElement* e = all[random() % all.size()];
            e->m_caretOffset = random() % 2;
            SetKeyOnElement(e);
            bool flag = false;
            CPoint point;
            int length = 0;
            CElement* to = nullptr;
            e->OnChar(keys[random() % 6], 1, 0, flag, point, length, to, false);
            if (to) {
                ASSERT_TRUE(engine.m_doc.IsElementExist(to)) << "seed " << seed << " step " << i;
                SetKeyOnElement(to);
            }
            if (random() % 5 == 0)
                CleanKeyContext(engine.m_doc.m_caretElement, random() % 3);
            CElement* caret = engine.m_doc.m_caretElement;
            ASSERT_TRUE(!caret || engine.m_doc.IsElementExist(caret)) << "seed " << seed << " step " << i;
        }
        CSafeBuf out;
        doc.Write(out, 0);
        CMarkupDocument again(&engine);
        // As the form value is: UTF-8 (a cell emptied by Backspace holds a
        // no-break space).
        const std::string written = qmtest::Utf8(out);
        EXPECT_TRUE(again.Read(written.data(), written.size(), error)) << "seed " << seed;
    }
}
