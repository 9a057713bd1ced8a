// The cure after a read: an inline element holding nothing but images
// floated right gets an empty run before them, found from the images made
// with the tree rather than by a walk of the whole tree.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/markup/MarkupDocument.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Elements whose first child is an empty run followed by images only.
int CuredHolders(CElement* top)
{
    int cured = 0;
    for (CElement* e = top; e; e = NextInSubtree(e, top)) {
        const CElement* first = e->m_firstChild;
        if (!first || !first->IsTextElement() || !first->m_text.IsEmpty() || !first->m_nextSibling)
            continue;
        bool images = true;
        for (const CElement* c = first->m_nextSibling; c; c = c->m_nextSibling)
            images = images && c->m_kind == kKindImg;
        cured += images ? 1 : 0;
    }
    return cured;
}

TEST(ImageHolders, CuredAsTheWholeTreeWalkWouldCureThem)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("image_holders/cases.txt", 3)) {
        SCOPED_TRACE("cases.txt line " + std::to_string(c.line));
        CXHTML engine;
        engine.m_doc.LoadStyleClass(qmtest::FromUtf8(c.fields[1]), 0, false, 0);
        CMarkupDocument document(&engine);
        CSafeBuf error;
        ASSERT_TRUE(document.Read(c.fields[0].data(), c.fields[0].size(), error));
        EXPECT_EQ(CuredHolders(document.Body()), std::stoi(c.fields[2]));
        EXPECT_FALSE(document.Body()->CheckAndCure());
    }
}

} // namespace
