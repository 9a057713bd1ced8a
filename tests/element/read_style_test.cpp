// Styling during a read: a read that a restyle of the whole tree follows
// leaves each element styled as that restyle leaves it, and one that no
// restyle follows styles its elements as it reads them.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/MarkupReader.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<ELEMENT_STYLE> Styles(CElement* top)
{
    std::vector<ELEMENT_STYLE> styles;
    for (CElement* e = top; e; e = NextInSubtree(e, top))
        styles.push_back(e->Style());
    return styles;
}

// Reads each document of read_style/documents.txt, with its page's style
// sheet, and hands check the engine and the document read.
template <class Check>
void ForEachDocumentRead(Check check)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("read_style/documents.txt", 2)) {
        SCOPED_TRACE("documents.txt line " + std::to_string(c.line));
        CXHTML engine;
        engine.m_doc.LoadStyleClass(qmtest::FromUtf8(c.fields[1]), 0, false, 0);
        CMarkupDocument document(&engine);
        CSafeBuf error;
        ASSERT_TRUE(document.Read(c.fields[0].data(), c.fields[0].size(), error));
        check(engine, document, c.fields[0]);
    }
}

// The text of markup in document order, tags and blanks left out.
std::string TextInOrder(const std::string& markup)
{
    std::string text;
    bool inTag = false;
    for (char c : markup) {
        if (c == '<' || c == '>')
            inTag = c == '<';
        else if (!inTag && c != ' ' && c != '\r' && c != '\n')
            text += c;
    }
    return text;
}

} // namespace

TEST(ReadStyle, ABodyReadIsStyledAsARestyleLeavesIt)
{
    ForEachDocumentRead([](CXHTML&, CMarkupDocument& document, const std::string&) {
        CElement* body = document.Body();
        const std::vector<ELEMENT_STYLE> read = Styles(body);
        body->StyleChanged(0);
        const std::vector<ELEMENT_STYLE> again = Styles(body);
        ASSERT_EQ(read.size(), again.size());
        for (size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(std::memcmp(&read[i], &again[i], sizeof(ELEMENT_STYLE)), 0) << "element " << i;
    });
}

// After a read, inheriting once more what CopyFromParent mode 4 takes (the
// direction and the area) and recording the box size again changes no
// element: the restyle leaves them as both would, also where it does not
// end with them (elements without attributes, which rules alone style).
TEST(ReadStyle, ARestyledTreeTakesNothingMoreFromItsParents)
{
    ForEachDocumentRead([](CXHTML&, CMarkupDocument& document, const std::string&) {
        CElement* body = document.Body();
        int index = 0;
        for (CElement* e = body; e; e = NextInSubtree(e, body), ++index) {
            if (!e->m_parent)
                continue;
            ELEMENT_STYLE style;
            std::memcpy(static_cast<void*>(&style), &e->Style(), sizeof style);
            const CElementLayout& lay = e->LayOrDefault();
            const CRect avail = lay.m_availRect, container = lay.m_containerRect, css = lay.m_cssRect;
            const unsigned char dirOverride = e->m_dirOverride;
            e->CopyFromParent(e->m_parent, 4);
            e->SetAttrFromStyle();
            EXPECT_EQ(std::memcmp(&style, &e->Style(), sizeof style), 0) << "element " << index;
            EXPECT_TRUE(avail == e->LayOrDefault().m_availRect) << "element " << index;
            EXPECT_TRUE(container == e->LayOrDefault().m_containerRect) << "element " << index;
            EXPECT_TRUE(css == e->LayOrDefault().m_cssRect) << "element " << index;
            EXPECT_EQ(dirOverride, e->m_dirOverride) << "element " << index;
        }
    });
}

// A row's cells are kept in the order its direction shows them and written
// back in the order read: the rules that make a row right to left are
// matched where the row stands, for the read as for the writer.
TEST(ReadStyle, TheMarkupWrittenReadsBackUnchanged)
{
    ForEachDocumentRead([](CXHTML& engine, CMarkupDocument& document, const std::string& markup) {
        CSafeBuf out, error;
        document.Write(out, 0);
        const std::string written = qmtest::ToUtf8(out);
        CMarkupDocument again(&engine);
        ASSERT_TRUE(again.Read(written.data(), written.size(), error));
        again.Write(out, 0);
        EXPECT_EQ(qmtest::ToUtf8(out), written);
        EXPECT_NE(TextInOrder(written).find(TextInOrder(markup)), std::string::npos) << written;
    });
}

// Read into an element that is no body, with the restyle asked for: nothing
// restyles the subtree afterwards, so the read styles it.
TEST(ReadStyle, AReadThatNoRestyleFollowsStylesAsItReads)
{
    const std::string markup = "<div><p style=\"color: #ff0000\"><b>x</b></p></div>";
    xmlDocPtr doc = xmlReadMemory(markup.data(), static_cast<int>(markup.size()), nullptr, nullptr, 0);
    ASSERT_NE(doc, nullptr);
    CXHTML engine;
    CElement* div = CreateElement("div", engine.m_doc.m_workingRules, nullptr, &engine);
    ASSERT_NE(div, nullptr);
    EXPECT_TRUE(ReadConsumingNodes(div, xmlDocGetRootElement(doc)));
    xmlFreeDoc(doc);
    const CElement* p = div->m_firstChild;
    ASSERT_TRUE(p && p->m_firstChild);
    EXPECT_TRUE(p->Style().colorSet);
    EXPECT_EQ(p->Style().color, static_cast<std::int32_t>(RGB(255, 0, 0)));
    EXPECT_EQ(p->m_firstChild->Style().color, p->Style().color);
    delete div;
}

// Read without a restyle after it, a row matches the rules that depend on
// where it stands as it will keep them: only the first row is right to left
// here, and only its cells are kept reversed.
TEST(ReadStyle, ARowReadWithoutARestyleIsStyledWhereItStands)
{
    const std::string markup
        = "<div><table><tr><td>a</td><td>b</td></tr><tr><td>1</td><td>2</td></tr></table></div>";
    xmlDocPtr doc = xmlReadMemory(markup.data(), static_cast<int>(markup.size()), nullptr, nullptr, 0);
    ASSERT_NE(doc, nullptr);
    CXHTML engine;
    engine.m_doc.LoadStyleClass(qmtest::FromUtf8("tr:first-child { direction: rtl }"), 0, false, 0);
    CElement* div = CreateElement("div", engine.m_doc.m_workingRules, nullptr, &engine);
    ASSERT_NE(div, nullptr);
    EXPECT_TRUE(ReadConsumingNodes(div, xmlDocGetRootElement(doc)));
    xmlFreeDoc(doc);
    std::string rows;
    for (CElement* e = div; e; e = NextInSubtree(e, div)) {
        if (e->m_kind == kKindTr)
            rows += std::string(e->Style().rtl ? "rtl:" : "ltr:");
        else if (e->IsTextElement())
            rows += qmtest::ToUtf8(e->m_text);
    }
    EXPECT_EQ(rows, "rtl:baltr:12");
    delete div;
}
