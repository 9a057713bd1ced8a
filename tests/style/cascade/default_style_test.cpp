// The default presentation given by the class a tag name keeps equals the
// one found by comparing the tag, in every place a list stands among its
// siblings; driven by tests/data/default_style/tags.txt.

#include "element/Element.h"
#include "element/TagName.h"
#include "style/cascade/DefaultStyle.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using qmtest::FromUtf8;

namespace {

// Three children of one parent, each named tag: the first, the middle and
// the last (a list's margins follow its place).
struct Siblings
{
    CElement parent{nullptr};
    CElement* children[3] = {};

    explicit Siblings(const CSafeBuf& tag)
    {
        for (CElement*& c : children) {
            c = new CElement(nullptr);
            c->SetTagName(static_cast<const unsigned short*>(tag), false);
            parent.InsertChild(c, 0, true); // at the end, inheriting nothing
        }
    }
};

bool SameRecord(const CElement* a, const CElement* b)
{
    return std::memcmp(&a->Style(), &b->Style(), sizeof(ELEMENT_STYLE)) == 0;
}

} // namespace

TEST(DefaultStyle, ByNameEqualsByText)
{
    const std::vector<qmtest::CaseLine> cases = qmtest::ReadCaseFile("default_style/tags.txt", 2);
    EXPECT_GT(cases.size(), 40u);
    const CElement untouched(nullptr);
    for (const qmtest::CaseLine& c : cases) {
        SCOPED_TRACE("tags.txt line " + std::to_string(c.line) + ": " + c.fields[0]);
        const CSafeBuf tag = FromUtf8(c.fields[0]);
        Siblings byName(tag), byText(tag);
        for (int i = 0; i < 3; ++i) {
            CElement* named = byName.children[i];
            CElement* compared = byText.children[i];
            SetDefaultStyle(static_cast<const CTagName&>(named->m_tagName), named);
            SetDefaultStyle(static_cast<const unsigned short*>(tag), compared);
            EXPECT_TRUE(SameRecord(named, compared)) << "child " << i;
            EXPECT_EQ(!SameRecord(named, &untouched), c.fields[1] == "yes") << "child " << i;
            // A restyle starts afresh from the defaults by the element's name.
            named->ResetStyle(true);
            EXPECT_TRUE(SameRecord(named, compared)) << "child " << i << " reset";
        }
    }
}

TEST(DefaultStyle, NameKeepsItsClassAcrossHoldersAndChanges)
{
    CTagName heading, copy, none;
    heading.Assign(FromUtf8("h2"), 2);
    copy.Share(heading);
    EXPECT_NE(heading.DefaultStyleClass(), 0);
    EXPECT_EQ(copy.DefaultStyleClass(), heading.DefaultStyleClass());
    EXPECT_EQ(none.DefaultStyleClass(), 0);
    // Renamed as a whole: the class follows the new name.
    copy.Assign(FromUtf8("p"), 1);
    EXPECT_EQ(copy.DefaultStyleClass(), 0);
    copy.Assign(FromUtf8("h2"), 2);
    EXPECT_EQ(copy.DefaultStyleClass(), heading.DefaultStyleClass());
    // Cut to its room: "h1" followed by more is no heading, but its first
    // two units are.
    copy.Assign(FromUtf8("h1x"), 2);
    EXPECT_NE(copy.DefaultStyleClass(), 0);
}
