// Applying style drop-list items through the engine. The cases of
// tests/data/styles/apply.txt give markup with the caret as "|" and a
// selection between "[" and "]"; their options name the item applied
// ("item:ELEMENT" or "item:ELEMENT.CLASS"), whether its row is "marked"
// (the style applies at the caret), "none" to choose the "None" row
// instead, "caret:TAG" to put the caret on the first element of that tag.
// The body's content comes out, then a line for each message box shown.

#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/editor/support/StyleListEngine.h"

#include "base/collections/StringList.h"
#include "editor/StyleBarItem.h"
#include "editor/XHTML.h"
#include "platform/ui/Menu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kCommandMessage = 1;
constexpr unsigned int kStyleMenuCommand = 32881;
constexpr unsigned int kUndo = 32814;
constexpr unsigned int kRedo = 32888;

class StyleApply : public qmtest::StyleListEngine
{
protected:
    // Applies the case's item (or "None"); false for an option not understood.
    bool Apply(const qmtest::CaseBlock& c)
    {
        qmtest::StyleSpec spec{"the style", "", "", ""};
        bool marked = false;
        bool none = false;
        for (const std::string& o : c.options) {
            if (o.rfind("item:", 0) == 0) {
                spec.element = o.substr(5);
                const auto dot = spec.element.find('.');
                if (dot != std::string::npos) {
                    spec.cls = spec.element.substr(dot + 1);
                    spec.element.erase(dot);
                }
            } else if (o.rfind("caret:", 0) == 0) {
                CElement* e = engine->m_doc.m_root->FindChild(qmtest::Wide(o.substr(6)), 0, true);
                if (!e)
                    return false;
                engine->m_doc.m_caretElement = e;
                e->m_caretOffset = 0;
            } else if (o == "marked") {
                marked = true;
            } else if (o == "none") {
                none = true;
            } else {
                return false;
            }
        }
        SetStyles({spec});
        STYLE_BAR_ITEM* item = Item("the style");
        if (marked)
            item->flags |= kStyleItemMarked;
        engine->ProcessTagBox(none ? 0 : item->index, nullptr);
        return true;
    }

    std::string Outcome()
    {
        std::string out = Content();
        if (driver.shown > 0) {
            out += "\n" + std::to_string(driver.shown) + " shown, the last: " + driver.caption + ":";
            for (const std::string& t : driver.texts)
                out += " " + t;
        }
        return out;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(StyleApply, ItemsOnTheCaretAndTheSelection)
{
    qmtest::CaseBlockFile file("styles/apply.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.name);
        driver.shown = 0;
        driver.caption.clear();
        driver.texts.clear();
        ASSERT_TRUE(Load(c.input));
        ASSERT_TRUE(Apply(c));
        file.Check(c, Outcome());
        EXPECT_TRUE(engine->m_doc.m_caretElement == nullptr
            || engine->m_doc.IsElementInTree(engine->m_doc.m_caretElement));
    }
}

// A heading item chosen for the caret's paragraph makes it that heading,
// marks the item's row and leaves the row current; chosen again (now
// marked) the heading goes back to a paragraph and the mark goes.
TEST_F(StyleApply, AHeadingItemMarksItsRowAndTogglesBack)
{
    SetStyles({{"Heading two", "", "h2", ""}, {"Note", "", "span", "note"}});
    STYLE_BAR_ITEM* h2 = Item("Heading two");
    ASSERT_TRUE(Load("<p>ab|c</p><p>other</p>"));
    engine->StyleSetCurSel(h2->index);
    engine->ProcessTagBox(h2->index, nullptr);
    EXPECT_EQ(Content(), "<h2>abc</h2><p>other</p>");
    EXPECT_TRUE(engine->StyleIsTagChecked(h2->index));
    EXPECT_EQ(engine->StyleGetCurSel(), h2->index);
    EXPECT_EQ(engine->m_styleListState, 1);

    engine->ProcessTagBox(-1, nullptr);
    EXPECT_EQ(Content(), "<p>abc</p><p>other</p>");
    EXPECT_FALSE(engine->StyleIsTagChecked(h2->index));
}

// Each item chosen over a selection of blocks is one undo step, though the
// caret stays in its element from one item to the next.
TEST_F(StyleApply, ItemsChosenOneAfterAnotherAreUndoneOneAtATime)
{
    SetStyles({{"One", "", "h1", ""}, {"Two", "", "h2", ""}, {"Note", "", "span", "note"}});
    ASSERT_TRUE(Load("<p>o[ne</p><p>tw]o</p>"));
    for (const char* label : {"One", "Two", "Note"})
        engine->ProcessTagBox(Item(label)->index, nullptr);
    const std::string last = Content();
    ASSERT_EQ(last, "<h2><span class=\"note\">one</span></h2><h2><span class=\"note\">two</span></h2>");
    engine->PostMessage(kCommandMessage, kUndo, 0);
    EXPECT_EQ(Content(), "<h2>one</h2><h2>two</h2>");
    engine->PostMessage(kCommandMessage, kUndo, 0);
    EXPECT_EQ(Content(), "<h1>one</h1><h1>two</h1>");
    engine->PostMessage(kCommandMessage, kRedo, 0);
    engine->PostMessage(kCommandMessage, kRedo, 0);
    EXPECT_EQ(Content(), last);
}

// The caret standing beside an image is no place for a style: nothing is
// applied and, chosen as the current row, the drop-list shows no row.
TEST_F(StyleApply, ACaretBesideAnImageAppliesNothingAndClearsTheRow)
{
    SetStyles({{"Heading two", "", "h2", ""}});
    ASSERT_TRUE(Load("<p>ab<img src=\"x.png\" alt=\"x\"/></p>"));
    CElement* img = engine->m_doc.m_root->FindChild(qmtest::Wide("img"), 0, true);
    ASSERT_NE(img, nullptr);
    engine->m_doc.m_caretElement = img;
    engine->StyleSetCurSel(Item("Heading two")->index);
    engine->OnHeading();
    EXPECT_EQ(Content(), "<p>ab<img alt=\"x\" src=\"x.png\" /></p>");
    EXPECT_EQ(engine->StyleGetCurSel(), -1);
}

// The style command band runs the item with that command id; an id no item
// has changes nothing.
TEST_F(StyleApply, AStyleCommandIdAppliesItsItem)
{
    SetStyles({{"Heading two", "", "h2", ""}});
    ASSERT_TRUE(Load("<p>ab|c</p>"));
    engine->PostMessage(kCommandMessage, kFirstStyleCommandId + 5, 0);
    EXPECT_EQ(Content(), "<p>abc</p>");
    engine->PostMessage(kCommandMessage, Item("Heading two")->commandId, 0);
    EXPECT_EQ(Content(), "<h2>abc</h2>");
}

// The pop-up menu: items without a group at the top, one submenu for each
// run of items with one group title (a title that comes back after another
// makes a second submenu), numbered from 19924; marks are checks.
TEST_F(StyleApply, ThePopUpMenuGroupsRunsOfTitlesIntoSubmenus)
{
    SetStyles({{"Plain", "", "p", ""}, {"Big", "Headings", "h1", ""}, {"Small", "Headings", "h2", ""},
        {"Note", "Inline", "span", "note"}, {"Again", "Headings", "h3", ""},
        {"Quote", "", "blockquote", ""}});
    Item("Small")->flags |= kStyleItemMarked;
    qm::ui::Menu menu;
    engine->PrepareStyleMenu(&menu);
    ASSERT_EQ(menu.Count(), 6u);
    const char16_t* top[] = {u"None", u"Plain", u"Headings", u"Inline", u"Headings", u"Quote"};
    const unsigned int submenuIds[] = {0, 0, 19924, 19925, 19926, 0};
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        SCOPED_TRACE(i);
        const qm::ui::MenuItem& entry = menu.Item(i);
        EXPECT_EQ(entry.text, top[i]);
        EXPECT_EQ(entry.submenu ? entry.submenu->Id() : 0u, submenuIds[i]);
    }
    const qm::ui::Menu& headings = *menu.Item(2).submenu;
    ASSERT_EQ(headings.Count(), 2u);
    EXPECT_EQ(headings.Item(0).text, u"Big");
    EXPECT_EQ(headings.Item(1).text, u"Small");
    EXPECT_EQ(headings.Item(1).command, Item("Small")->commandId);
    EXPECT_TRUE(headings.Item(1).checked);
    EXPECT_FALSE(headings.Item(0).checked);
    EXPECT_EQ(menu.Item(4).submenu->Item(0).text, u"Again");
    EXPECT_EQ(menu.Item(5).command, Item("Quote")->commandId);
}

// The menu pops up 8 pixels below the style box and 4 to the left of it,
// the style button pressed meanwhile; the item
// chosen in a submenu is applied.
TEST_F(StyleApply, TheStyleMenuAppliesTheChosenItem)
{
    SetStyles({{"Plain", "", "p", ""}, {"Small", "Headings", "h2", ""}});
    ASSERT_TRUE(Load("<p>ab|c</p>"));
    driver.menus.push_back({"Headings/Small", 0});
    engine->PostMessage(kCommandMessage, kStyleMenuCommand, 0);
    EXPECT_EQ(Content(), "<h2>abc</h2>");
    ASSERT_FALSE(driver.log->Lines().empty());
    EXPECT_EQ(driver.log->Lines().back(), "menu at (96, 50): None, Plain, Headings> -> \"Small\" (34002)");
    EXPECT_EQ(driver.lastMenu.v, 42 + 8);
    EXPECT_EQ(driver.lastMenu.h, 100 - 4);
    EXPECT_EQ(styles->styleButtonChecks, (std::vector<bool>{true, false}));
    EXPECT_FALSE(control->IsPopupShowing());

    // Dismissed: nothing applied, the button released.
    driver.menus.push_back({});
    engine->PostMessage(kCommandMessage, kStyleMenuCommand, 0);
    EXPECT_EQ(Content(), "<h2>abc</h2>");
    EXPECT_EQ(styles->styleButtonChecks.back(), false);
}

// A link item over a selection: the link dialog asks for the address and
// the selected run goes into a link to it.
TEST_F(StyleApply, ALinkItemTakesTheAddressFromItsDialog)
{
    SetStyles({{"Link", "", "a", ""}});
    ASSERT_TRUE(Load("<p>a[b]|c</p>"));
    driver.dialogs.push_back({qm::host::DialogAnswer::kPress, "OK", {{"href", "http://x.test/"}}});
    engine->ProcessTagBox(Item("Link")->index, nullptr);
    EXPECT_EQ(driver.caption, "Link");
    EXPECT_EQ(Content(), "<p>a<a href=\"http://x.test/\">b</a>c</p>");
}

// Whether the caret, or all of the selection, lies under a tag (and class).
TEST_F(StyleApply, IsCurrentUnderTagAsksTheCaretOrTheWholeSelection)
{
    struct Case
    {
        const char* markup;
        const char16_t* tag;
        const char16_t* cls;
        bool under;
    } const cases[] = {
        {"<p>a<span class=\"n\">b|c</span></p>", u"span", u"n", true},
        {"<p>a<span class=\"n\">b|c</span></p>", u"span", u"m", false},
        {"<p>a<span class=\"n\">b|c</span></p>", u"span", u"", true},
        {"<p>a|<span class=\"n\">bc</span></p>", u"span", u"", false},
        {"<div><p>[a</p><p>b]|</p></div>", u"div", u"", true},
        {"<div><p>[a</p></div><p>b]|</p>", u"div", u"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        ASSERT_TRUE(Load(c.markup));
        EXPECT_EQ(engine->IsCurrentUnderTag(qmtest::U16(c.tag), qmtest::U16(c.cls)), c.under);
    }
}

// Whether the selected elements (or the caret's), or their blocks, hold
// one of the tags; a caret that left the tree holds nothing to judge.
TEST_F(StyleApply, ValidateSelectionLooksIntoTheBlocksOrTheElements)
{
    CStringList tags;
    tags.AddTail("img");
    tags.AddTail("sup");
    struct Case
    {
        const char* markup;
        bool byBlock;
        bool valid;
    } const cases[] = {
        {"<p>a|b<img src=\"x.png\" alt=\"x\"/></p>", true, false},
        {"<p>a|b<img src=\"x.png\" alt=\"x\"/></p>", false, true},
        {"<p>a|b</p><p><sup>2</sup></p>", true, true},
        {"<p>[ab</p><p><sup>2]|</sup></p>", true, false},
        {"<p>a[b<b>c<sup>2</sup></b>]|</p>", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        ASSERT_TRUE(Load(c.markup));
        EXPECT_EQ(engine->ValidateSelection(&tags, c.byBlock), c.valid);
    }
    ASSERT_TRUE(Load("<p>a|b</p>"));
    CElement* run = engine->m_doc.m_caretElement;
    ASSERT_NE(run, nullptr);
    run->m_parent->RemoveChild(run->GetID(), false, false);
    EXPECT_FALSE(engine->ValidateSelection(&tags, true));
    engine->m_doc.m_caretElement = nullptr;
    delete run;
}

} // namespace

// An inline item over the whole document wraps the text of every block;
// a comment between blocks has nothing to wrap and stays where it is.
TEST_F(StyleApply, AnInlineItemOverTheWholeDocumentPassesOverCommentsBetweenBlocks)
{
    SetStyles({{"Note", "", "span", "note"}});
    ASSERT_TRUE(Load("<p>a|b</p><!-- between --><p>c<!-- inside -->d</p>"));
    engine->SelectAll();
    engine->ProcessTagBox(Item("Note")->index, nullptr);
    EXPECT_EQ(Content(),
        "<p><span class=\"note\">ab</span></p><!-- between --><p><span class=\"note\">c<!-- inside "
        "-->d</span></p>");
}
