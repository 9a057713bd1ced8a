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

#include <cstddef>
#include <string>

TEST(ElementMemory, TagNamesAreHeldOnceAndLeaveWithTheirLastElement)
{
    // The factory holds the names of the tags it knows for as long as the
    // process runs; every other name leaves with its last holder.
    delete CreateElement("p", nullptr, nullptr, nullptr);
    const unsigned long names = CTagName::NameCount();
    const unsigned short p[] = {'z', 0}; // a name the factory does not hold
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

    CElement* custom = CreateElement("chapter", nullptr, nullptr, nullptr);
    CElement* known = CreateElement("p", nullptr, nullptr, nullptr);
    ASSERT_NE(custom, nullptr);
    ASSERT_NE(known, nullptr);
    EXPECT_TRUE(custom->IsTag("chapter"));
    EXPECT_EQ(CTagName::NameCount(), names + 1);
    known->m_tagName.Share(custom->m_tagName);
    EXPECT_TRUE(known->IsTag("chapter"));
    EXPECT_EQ(known->m_tagName.Get(), custom->m_tagName.Get()) << "one text for both";
    known->m_tagName.Share(known->m_tagName);
    delete custom;
    EXPECT_TRUE(known->IsTag("chapter")) << "held by its other holder";
    delete known;
    EXPECT_EQ(CTagName::NameCount(), names) << "the custom name left with its last holder";
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
    // The element pool hands out 64-byte granules, so an element past 320
    // bytes takes 384 and a text run past 448 takes 512.
    EXPECT_LE(sizeof(CElement), 320u);
    EXPECT_LE(sizeof(CTextElement), 448u);
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

// The writer reads these fields of every element it writes and its prefetch
// lanes ask for the record's first two cache lines only: a field placed
// before them pushes one out, and every element of a large document then
// costs the writer one more wait.
TEST(ElementMemory, WriterFieldsLieInTheFirstTwoCacheLines)
{
    CElement* e = CreateElement("p", nullptr, nullptr, nullptr);
    ASSERT_NE(e, nullptr);
    const char* record = reinterpret_cast<const char*>(e);
    const struct
    {
        const char* name;
        const void* at;
        size_t size;
    } fields[] = {
        {"first child", &e->m_firstChild, sizeof e->m_firstChild},
        {"next sibling", &e->m_nextSibling, sizeof e->m_nextSibling},
        {"parent", &e->m_parent, sizeof e->m_parent},
        {"kind", &e->m_kind, sizeof e->m_kind},
        {"inline", &e->m_inline, 1},
        {"block", &e->m_block, 1},
        {"no child", &e->m_noChild, 1},
        {"edge caret", &e->m_edgeCaret, 1},
        {"locked", &e->m_locked, 1},
        {"tag name", &e->m_tagName, sizeof e->m_tagName},
        {"text", &e->m_text, sizeof e->m_text},
        {"attributes", &e->m_attributes, sizeof e->m_attributes},
        {"owner", &e->m_owner, sizeof e->m_owner},
    };
    for (const auto& field : fields) {
        const size_t offset = static_cast<size_t>(static_cast<const char*>(field.at) - record);
        EXPECT_LE(offset + field.size, 128u) << field.name;
    }
    delete e;
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
