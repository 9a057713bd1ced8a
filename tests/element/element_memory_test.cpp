// What an element costs: tag names held once, rarely used fields made only
// for the elements that use them, a record that stays small.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementLayout.h"
#include "element/TagName.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "style/layout/LayoutPass.h"

#include <gtest/gtest.h>

#include <string>

TEST(ElementMemory, TagNamesAreHeldOnceAndLeaveWithTheirLastElement)
{
    const unsigned long names = CTagName::NameCount();
    const unsigned short p[] = {'p', 0};
    {
        CTagName a, b, c;
        EXPECT_EQ(a.Get()[0], 0) << "a new name is empty";
        a.Assign(p, 1);
        b.Assign(p, 5); // the terminator ends it
        EXPECT_EQ(a.Get(), b.Get());
        EXPECT_EQ(CTagName::NameCount(), names + 1);

        std::u16string longName(150, u'x');
        c.Assign(reinterpret_cast<const unsigned short*>(longName.c_str()), 150);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(c.Get())), std::u16string(101, u'x'));
        c.Assign(p, 1);
        EXPECT_EQ(CTagName::NameCount(), names + 1) << "the long name left with its holder";
        a.Assign(nullptr, 0);
        EXPECT_EQ(a.Get()[0], 0);
    }
    EXPECT_EQ(CTagName::NameCount(), names);

    CElement* e = CreateElement("blockquote", nullptr, nullptr, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->IsTag("blockquote"));
    e->SetTagName("q", false);
    EXPECT_TRUE(e->IsTag("q"));
    delete e;
    EXPECT_EQ(CTagName::NameCount(), names);
}

namespace {

bool OnlyTheBodyHasRareFields(const CElement* e)
{
    if (e->HasRare() && e->m_parent)
        return false;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!OnlyTheBodyHasRareFields(c))
            return false;
    }
    return true;
}

// The elements of e's subtree with and without a layout record.
void CountLayoutRecords(const CElement* e, int& with, int& without)
{
    ++(e->HasLayout() ? with : without);
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        CountLayoutRecords(c, with, without);
}

// Text runs and inline elements of e's subtree that have a layout record.
int InlineLayoutRecords(const CElement* e)
{
    int n = e->m_parent && (e->m_kind == kKindText || e->m_inline) && e->HasLayout() ? 1 : 0;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += InlineLayoutRecords(c);
    return n;
}

} // namespace

// Read and laid out without floats, markers or column groups, no element but
// the body makes its rarely used fields.
TEST(ElementMemory, RareFieldsAreMadeOnlyWhereUsed)
{
    // A record that grows past these sizes costs every element of a large
    // document: the fields most elements use belong in it, the others in
    // CElementRare, and what layout and painting record in CElementLayout.
    // The element pool hands out 64-byte granules, so a text run past 512
    // bytes takes 576.
    EXPECT_LE(sizeof(CElement), 384u);
    EXPECT_LE(sizeof(CTextElement), 512u);
    EXPECT_LE(sizeof(CElementLayout), 256u) << "every laid-out element has one";

    CXHTML engine;
    CMarkupDocument document(&engine);
    const std::string markup = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>"
                               "<p>One <b>two</b> <a href=\"#x\">three</a></p>"
                               "<table><tr><td>cell</td></tr></table><ul><li>item</li></ul></body></html>";
    CSafeBuf error;
    ASSERT_TRUE(document.Read(markup.data(), markup.size(), error));
    // Read and written without layout: text runs and inline elements make
    // no layout record (blocks keep the margins their style resolves to).
    CSafeBuf written;
    document.Write(written, 0);
    EXPECT_EQ(InlineLayoutRecords(document.Body()), 0);
    ASSERT_TRUE(LayoutDocument(document.Body(), 500));
    EXPECT_TRUE(OnlyTheBodyHasRareFields(document.Body()));
    int with = 0, without = 0;
    CountLayoutRecords(document.Body(), with, without);
    EXPECT_EQ(without, 0) << "laid out, every element has its record";

    // A float is entered in the root's list, which is the root's own.
    const std::string floated = "<body><p>x</p><div style=\"float: left; width: 20px\">f</div></body>";
    CMarkupDocument second(&engine);
    ASSERT_TRUE(second.Read(floated.data(), floated.size(), error));
    ASSERT_TRUE(LayoutDocument(second.Body(), 500));
    EXPECT_EQ(second.Body()->Rare().m_floatList.GetCount(), 1);
    EXPECT_TRUE(OnlyTheBodyHasRareFields(second.Body()));
}

// Only a tag with a default presentation, or an attribute that sets a style
// value, makes an element's style record its own: the others keep the
// shared record, with no copy made.
TEST(ElementMemory, StylesAreMadeOwnOnlyByWhatChangesThem)
{
    for (const char* tag : {"", "p", "a", "li", "span", "div", "tr"}) {
        CElement* e = CreateElement(tag, nullptr, nullptr, nullptr);
        ASSERT_NE(e, nullptr) << tag;
        EXPECT_TRUE(e->m_style.IsShared()) << tag;
        delete e;
    }
    CElement* b = CreateElement("b", nullptr, nullptr, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->m_style.IsShared());
    EXPECT_EQ(b->Style().fontWeight, 700);
    delete b;

    CElement* td = CreateElement("td", nullptr, nullptr, nullptr);
    ASSERT_NE(td, nullptr);
    td->m_style.Share();
    CSafeBuf name("title"), value("x");
    td->LoadAttributeStyle(name, value);
    EXPECT_TRUE(td->m_style.IsShared()) << "an attribute without style";
    name = "ALIGN";
    value = "right";
    td->LoadAttributeStyle(name, value);
    EXPECT_FALSE(td->m_style.IsShared());
    EXPECT_EQ(td->Style().align & kAlignHorizontalMask, kAlignRight);
    delete td;
}
