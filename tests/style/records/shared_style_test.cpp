// Shared style records: copy on write of the handle, and a document whose
// elements share their computed styles after reading, layout and painting.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "style/records/SharedStyle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(SharedStyle, EditCopiesOnlyWhatOthersShareAndShareFindsTheEqualRecord)
{
    const size_t own = CSharedStyle::OwnCount();
    CSharedStyle a, b;
    EXPECT_TRUE(a.IsShared());
    EXPECT_EQ(&a.Get(), &b.Get()) << "new handles share the default record";
    EXPECT_EQ(a.Get().fontNumber, 0);
    EXPECT_NE(a.Get().fontFamily[0], 0) << "the default family is set";

    a.Edit().colSpan = 3;
    EXPECT_FALSE(a.IsShared());
    EXPECT_NE(&a.Get(), &b.Get());
    EXPECT_EQ(b.Get().colSpan, 0) << "an edit never reaches another handle";
    EXPECT_EQ(CSharedStyle::OwnCount(), own + 1);

    b.Edit().colSpan = 3;
    a.Share();
    b.Share();
    EXPECT_EQ(&a.Get(), &b.Get()) << "equal records are one";
    EXPECT_EQ(CSharedStyle::OwnCount(), own);

    // The only handle of a shared record edits it in place.
    CSharedStyle c;
    c.Edit().rowSpan = 7;
    c.Share();
    const ELEMENT_STYLE* before = &c.Get();
    c.Edit().rowSpan = 8;
    EXPECT_EQ(&c.Get(), before);
    // ... and the table no longer answers for its old value.
    CSharedStyle d;
    d.Edit().rowSpan = 7;
    d.Share();
    EXPECT_EQ(d.Get().rowSpan, 7);
    EXPECT_EQ(c.Get().rowSpan, 8);
    // A record that left the table is not found through the records shared
    // last either: it is the handle's own, edited in place, even while it
    // still holds the value it was shared with.
    CSharedStyle g, h;
    g.Edit().rowSpan = 11;
    g.Share();
    g.Edit().colSpan = 0;
    h.Edit().rowSpan = 11;
    h.Share();
    EXPECT_NE(&h.Get(), &g.Get());
    g.Edit().rowSpan = 13;
    EXPECT_EQ(h.Get().rowSpan, 11);

    // A copy shares a shared record and copies an own one.
    CSharedStyle e(d);
    EXPECT_EQ(&e.Get(), &d.Get());
    CSharedStyle f(c);
    EXPECT_NE(&f.Get(), &c.Get());
    f.Edit().rowSpan = 9;
    EXPECT_EQ(c.Get().rowSpan, 8);
    c = d;
    EXPECT_EQ(&c.Get(), &d.Get());
    f = c;
    EXPECT_EQ(&f.Get(), &d.Get());
    d = d;
    EXPECT_EQ(d.Get().rowSpan, 7);

    // Reset gives the default value as the handle's own record.
    ELEMENT_STYLE& reset = e.Reset();
    EXPECT_FALSE(e.IsShared());
    EXPECT_EQ(reset.rowSpan, 0);
    EXPECT_EQ(d.Get().rowSpan, 7);
    e.Share();
    EXPECT_EQ(&e.Get(), &CSharedStyle().Get());
}

// Copies, assignments and Reset carry every byte of a record, padding and
// the last bytes included: records are compared byte for byte.
TEST(SharedStyle, CopiesKeepEveryByte)
{
    CSharedStyle a;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&a.Edit());
    for (size_t i = 0; i < sizeof(ELEMENT_STYLE); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 1);
    auto same
        = [&a](const CSharedStyle& b) { return std::memcmp(&a.Get(), &b.Get(), sizeof(ELEMENT_STYLE)) == 0; };
    CSharedStyle copied(a);
    EXPECT_TRUE(same(copied));
    CSharedStyle assignedOverOwn;
    assignedOverOwn.Edit().colSpan = 2;
    assignedOverOwn = a;
    EXPECT_TRUE(same(assignedOverOwn));
    CSharedStyle assignedOverShared;
    assignedOverShared = a;
    EXPECT_TRUE(same(assignedOverShared));
    CSharedStyle shared(a);
    shared.Share();
    CSharedStyle edited(shared);
    edited.Edit();
    EXPECT_TRUE(same(edited));
    const CSharedStyle initial;
    a.Reset();
    EXPECT_EQ(std::memcmp(&a.Get(), &initial.Get(), sizeof(ELEMENT_STYLE)), 0);
    // Texts are pointers: the scrambled ones must not be read or kept.
    for (CSharedStyle* handle : {&a, &copied, &assignedOverOwn, &assignedOverShared, &shared, &edited})
        handle->Reset();
}

// Share with a likely record takes it only when every byte is equal: a
// record that differs in any one field, inside the words its print covers
// or outside them, is shared on its own; an equal one is taken.
TEST(SharedStyle, ALikelyRecordIsTakenOnlyWhenEqualInEveryField)
{
    using Change = void (*)(ELEMENT_STYLE&);
    const Change changes[] = {
        [](ELEMENT_STYLE& s) { s.bkColorSet = 1; },
        [](ELEMENT_STYLE& s) { s.bkRepeat = 8; },
        [](ELEMENT_STYLE& s) { s.marginTop.value = 4; },
        [](ELEMENT_STYLE& s) { s.fontWeight = 700; },
        [](ELEMENT_STYLE& s) { s.italicInherited = 1; },
        [](ELEMENT_STYLE& s) { s.colSpan = 2; },
        [](ELEMENT_STYLE& s) { s.border[kBorderBottom].width = 3; },
        [](ELEMENT_STYLE& s) { s.paddingRight.unit = 1; },
        [](ELEMENT_STYLE& s) { s.heightOrigin = 2; },
        [](ELEMENT_STYLE& s) { s.lineHeight.value = 120; },
        [](ELEMENT_STYLE& s) { s.borderCollapse.value = 1; },
    };
    int index = 0;
    for (Change change : changes) {
        SCOPED_TRACE("change " + std::to_string(index++));
        CSharedStyle base;
        base.Edit().cellSpacing = 77;
        base.Share();
        CSharedStyle differs;
        differs.Edit().cellSpacing = 77;
        change(differs.Edit());
        differs.Share(base);
        EXPECT_TRUE(differs.IsShared());
        EXPECT_NE(&differs.Get(), &base.Get());
        CSharedStyle equal;
        equal.Edit().cellSpacing = 77;
        change(equal.Edit());
        equal.Share(base, differs);
        EXPECT_EQ(&equal.Get(), &differs.Get());
    }
}

// Reset gives the default record's bytes whatever the record held and
// whoever else holds it.
TEST(SharedStyle, ResetGivesTheDefaultBytesFromOwnAndSharedRecords)
{
    const CSharedStyle initial;
    CSharedStyle own, shared, other;
    own.Edit().fontWeight = 900;
    shared.Edit().colSpan = 4;
    shared.Share();
    other = shared;
    for (CSharedStyle* handle : {&own, &shared}) {
        handle->Reset();
        EXPECT_FALSE(handle->IsShared());
        EXPECT_EQ(std::memcmp(&handle->Get(), &initial.Get(), sizeof(ELEMENT_STYLE)), 0);
        handle->Share();
        EXPECT_EQ(&handle->Get(), &initial.Get());
    }
    EXPECT_EQ(other.Get().colSpan, 4);
}

namespace {

std::string Paragraphs(int n)
{
    std::string markup = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>";
    for (int i = 0; i < n; ++i) {
        markup += "<p>Some <b>bold</b> and <i>italic</i> text, <a href=\"#x\">a link</a>.</p>"
                  "<p>A paragraph long enough to wrap over lines at the width it is laid out at, "
                  "<b>with a bold run that wraps as well, in pieces of its own</b>, and more text.</p>"
                  "<table border=\"1\"><tr><td>cell</td><td style=\"color: red\">red</td></tr></table>"
                  "<ul><li>item</li></ul>";
    }
    return markup + "</body></html>";
}

long CountElements(const CElement* e)
{
    long n = 1;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += CountElements(c);
    return n;
}

} // namespace

// A document holds no style record of its own after it is read, laid out
// and painted, and its many elements share a few records.
TEST(SharedStyle, ADocumentSharesItsStylesThroughReadingLayoutAndPainting)
{
    const size_t own = CSharedStyle::OwnCount();
    const size_t shared = CSharedStyle::SharedCount();
    CXHTML engine;
    CMarkupDocument document(&engine);
    const std::string markup = Paragraphs(200);
    CSafeBuf error;
    ASSERT_TRUE(document.Read(markup.data(), markup.size(), error));
    CElement* body = document.Body();
    ASSERT_GT(CountElements(body), 4000);
    EXPECT_EQ(CSharedStyle::OwnCount(), own);
    EXPECT_LT(CSharedStyle::SharedCount(), shared + 40);

    ASSERT_TRUE(LayoutDocument(body, 300));
    ASSERT_TRUE(RepaintDocument(body));
    EXPECT_EQ(CSharedStyle::OwnCount(), own);

    // An element's own change reaches no other element.
    CElement* first = body->m_firstChild;
    CElement* second = first->m_nextSibling->m_nextSibling->m_nextSibling->m_nextSibling;
    ASSERT_TRUE(first->IsTag("p") && second->IsTag("p"));
    ASSERT_EQ(&first->Style(), &second->Style());
    first->EditStyle().bkColor = 0x123456;
    EXPECT_NE(second->Style().bkColor, 0x123456);
    first->StyleChanged(1);
    EXPECT_EQ(&first->Style(), &second->Style()) << "the restyle shares it again";
}
