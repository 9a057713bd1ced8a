// Element property dialogs through the engine: a page answered with OK
// writes the fields the user changed (an emptied field removes its
// attribute), Cancel or a closed window changes nothing; the table dialog
// reshapes the table; the insert commands put the new element at the caret.

#include "tests/editor/support/EngineWithControl.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TableElement.h"

namespace {

using qmtest::EngineWithControl;
using Answer = qm::host::DialogAnswer;

class PropertyDialogs : public EngineWithControl
{
protected:
    void Load(const char* markup) { ASSERT_TRUE(engine->LoadDocument(qmtest::FromUtf8(markup))); }

    CElement* Find(long kind, CElement* e = nullptr)
    {
        if (!e)
            e = engine->m_doc.m_root;
        if (e->IsType(kind))
            return e;
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
            if (CElement* f = Find(kind, c))
                return f;
        return nullptr;
    }

    std::string Markup()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 2 | 4);
        return qmtest::Utf8(out);
    }

    void Ok(std::vector<qm::ui::DialogField> fields)
    {
        driver.dialogs.push_back({Answer::kPress, "OK", fields});
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(PropertyDialogs, OkWritesTheEditsCancelAndCloseWriteNothing)
{
    struct Case
    {
        Answer answer;
        bool result;
        const char* markup;
    };
    const Case cases[] = {
        {{Answer::kPress, "OK", {{"title", "New"}, {"dir", ""}}}, true, "<p title=\"New\">text</p>"},
        {{Answer::kPress, "Cancel", {{"title", "New"}}}, false, "<p dir=\"ltr\" title=\"Old\">text</p>"},
        {{Answer::kClose, "", {}}, false, "<p dir=\"ltr\" title=\"Old\">text</p>"},
    };
    for (const Case& c : cases) {
        Load("<p title=\"Old\" dir=\"ltr\">text</p>");
        driver.dialogs.push_back(c.answer);
        EXPECT_EQ(engine->DoCommonPrp(Find(kKindP)), c.result);
        EXPECT_EQ(driver.kind, "property");
        EXPECT_EQ(Markup(), c.markup);
    }
}

// A row left as offered leaves its attribute as it stands, blanks at its
// ends included: OK without an edit changes nothing, and an edit of one row
// changes that attribute alone (its answer trimmed).
TEST_F(PropertyDialogs, OkLeavesTheRowsTheUserLeftAsTheyStand)
{
    struct Case
    {
        std::vector<qm::ui::DialogField> fields;
        const char* markup;
    };
    const Case cases[] = {
        {{}, "<p><img alt=\"The set \" src=\"x.gif\" /></p>"},
        {{{"title", " Sets "}}, "<p><img alt=\"The set \" src=\"x.gif\" title=\"Sets\" /></p>"},
        {{{"alt", "The set "}}, "<p><img alt=\"The set \" src=\"x.gif\" /></p>"},
        {{{"alt", "The set  "}}, "<p><img alt=\"The set\" src=\"x.gif\" /></p>"},
    };
    for (const Case& c : cases) {
        Load("<p><img alt=\"The set \" src=\"x.gif\" /></p>");
        Ok(c.fields);
        EXPECT_TRUE(engine->DoImgPrp(Find(kKindImg), 0));
        EXPECT_EQ(Markup(), c.markup);
    }

    Load("<table border=\"1 \" cellpadding=\" 2\"><tbody><tr><td>a</td></tr></tbody></table>");
    Ok({{"cellspacing", "3"}});
    EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
    EXPECT_EQ(Markup(),
        "<table border=\"1 \" cellpadding=\" 2\" "
        "cellspacing=\"3\"><tbody><tr><td>a</td></tr></tbody></table>");

    // Rows and columns left as offered leave a short row short.
    Load("<table><tbody><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></tbody></table>");
    Ok({{"rows", "2"}, {"cols", "2"}});
    EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
    EXPECT_EQ(Markup(), "<table><tbody><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></tbody></table>");
}

TEST_F(PropertyDialogs, DoPropertyChoosesThePageByElement)
{
    Load("<p><a href=\"http://h/\">link</a> <img src=\"x.png\" alt=\"a\" /></p>");
    engine->m_targetElement = Find(kKindImg);
    Ok({{"alt", "picture"}});
    EXPECT_TRUE(engine->DoProperty());
    EXPECT_EQ(driver.caption, "Image");

    engine->m_targetElement = Find(kKindA)->m_firstChild; // the link's text
    Ok({{"href", "http://other/"}});
    EXPECT_TRUE(engine->DoProperty());
    EXPECT_EQ(driver.caption, "Link");
    EXPECT_EQ(Markup(), "<p><a href=\"http://other/\">link</a> <img alt=\"picture\" src=\"x.png\" /></p>");
}

TEST_F(PropertyDialogs, TableGrowsWithAlignedRowsAndNoBreakSpaceCells)
{
    Load("<table><tbody><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></tbody></table>");
    Ok({{"rows", "3"}, {"cols", "3"}, {"border", "1"}});
    EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
    EXPECT_EQ(driver.caption, "Properties");
    EXPECT_EQ(Markup(),
        "<table border=\"1\"><tbody><tr><td>a</td><td>b</td><td>\xC2\xA0</td></tr>"
        "<tr><td>c</td><td>d</td><td>\xC2\xA0</td></tr>"
        "<tr align=\"left\" "
        "valign=\"top\"><td>\xC2\xA0</td><td>\xC2\xA0</td><td>\xC2\xA0</td></tr></tbody></table>");
}

TEST_F(PropertyDialogs, TableShrinksAndADataTableGetsHeaderRowAndCaption)
{
    Load("<table><tbody><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></tbody></table>");
    Ok({{"rows", "1"}, {"cols", "1"}});
    EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
    EXPECT_EQ(Markup(), "<table><tbody><tr><td>a</td></tr></tbody></table>");

    Load("<table><tbody><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></tbody></table>");
    Ok({{"summary", "Sums"}});
    EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, true, true));
    CElement* table = Find(kKindTable);
    ASSERT_NE(table, nullptr);
    EXPECT_NE(Find(kKindCaption), nullptr) << Markup();
    EXPECT_NE(Find(kKindTh), nullptr) << Markup();
    CSafeBuf summary;
    table->GetAttrString("summary", summary);
    EXPECT_EQ(qmtest::Utf8(summary), "Sums");
}

TEST_F(PropertyDialogs, TableReshapeCountsTheColumnsThatRowSpansTakeInARow)
{
    struct Case
    {
        std::vector<qm::ui::DialogField> fields;
        const char* markup;
    };
    // L and R reach down into the second row beside Home: that row is
    // three columns wide already.
    const Case cases[] = {
        {{{"border", "2"}},
            "<table border=\"2\"><tbody><tr><td rowspan=\"2\">L</td><td>Up</td><td rowspan=\"2\">R</td></tr>"
            "<tr><td>Home</td></tr></tbody></table>"},
        {{{"rows", "3"}, {"cols", "4"}},
            "<table><tbody><tr><td rowspan=\"2\">L</td><td>Up</td><td "
            "rowspan=\"2\">R</td><td>\xC2\xA0</td></tr>"
            "<tr><td>Home</td><td>\xC2\xA0</td></tr><tr align=\"left\" valign=\"top\"><td>\xC2\xA0</td>"
            "<td>\xC2\xA0</td><td>\xC2\xA0</td><td>\xC2\xA0</td></tr></tbody></table>"},
        // R goes from the first row, so the second row has room for Home
        // beside L alone.
        {{{"cols", "2"}},
            "<table><tbody><tr><td "
            "rowspan=\"2\">L</td><td>Up</td></tr><tr><td>Home</td></tr></tbody></table>"},
    };
    for (const Case& c : cases) {
        Load("<table><tbody><tr><td rowspan=\"2\">L</td><td>Up</td><td rowspan=\"2\">R</td></tr>"
             "<tr><td>Home</td></tr></tbody></table>");
        Ok(c.fields);
        EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
        EXPECT_EQ(Markup(), c.markup);
    }

    // Two columns taken by A and B down both rows leave the second row no
    // cell of its own: the row goes (a row without cells is no XHTML) and
    // A and B span one row.
    Load("<table><tbody><tr><td rowspan=\"2\">A</td><td rowspan=\"2\">B</td><td>C</td></tr>"
         "<tr><td>D</td></tr></tbody></table>");
    Ok({{"cols", "2"}});
    EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
    EXPECT_EQ(Markup(), "<table><tbody><tr><td>A</td><td>B</td></tr></tbody></table>");
}

// Counts the table can take are read whole; an entry that is no count, or
// one that would grow the table past 255 rows or columns (a slip of the
// finger that would otherwise hold the editor for minutes), leaves that
// direction as it is. A long number is not cut short into another one.
TEST_F(PropertyDialogs, TableCountsThatAreNoSizeLeaveTheTableAsItIs)
{
    const char* const two = "<table><tbody><tr><td>a</td><td>b</td></tr></tbody></table>";
    struct Case
    {
        std::vector<qm::ui::DialogField> fields;
        const char* markup;
    };
    const Case cases[] = {
        {{{"rows", ""}, {"cols", "-1"}}, two},
        {{{"rows", "two"}, {"cols", "2.5"}}, two},
        {{{"rows", "1000000"}, {"cols", "99999999999999999999"}}, two},
        {{{"rows", "1234567"}}, two},
        {{{"cols", "256"}}, two},
        {{{"rows", "00000000001"}, {"cols", " 3 "}},
            "<table><tbody><tr><td>a</td><td>b</td><td>\xC2\xA0</td></tr></tbody></table>"},
    };
    for (const Case& c : cases) {
        Load(two);
        Ok(c.fields);
        EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
        EXPECT_EQ(Markup(), c.markup);
    }

    // The largest size is taken.
    Load(two);
    Ok({{"rows", "255"}, {"cols", "3"}});
    EXPECT_TRUE(engine->DoTablePrp(Find(kKindTable), -1, -1, -1, -1, -1, false, false));
    int columns = 0, rows = 0;
    static_cast<CTableElement*>(Find(kKindTable))->GetRowCol(columns, rows);
    EXPECT_EQ(rows, 255);
    EXPECT_EQ(columns, 3);
}

// A new table starts with no rows: an entry that is no count (or 0) keeps
// the size the dialog offered (2 x 2 for the insert-table command), so that
// no table without rows goes in.
TEST_F(PropertyDialogs, ANewTableKeepsTheOfferedSizeForAnEntryThatIsNoCount)
{
    struct Case
    {
        std::vector<qm::ui::DialogField> fields;
        int rows, cols;
    };
    const Case cases[] = {
        {{{"rows", "abc"}, {"cols", ""}}, 2, 2},
        {{{"rows", "0"}, {"cols", "0"}}, 2, 2},
        {{{"rows", "-1"}, {"cols", "3"}}, 2, 3},
        {{{"rows", "3"}, {"cols", "99999"}}, 3, 2},
    };
    for (const Case& c : cases) {
        Load("<p>ab_x_Here_to_put_cursor_x_cd</p>");
        Ok(c.fields);
        engine->PostMessage(1, 32773, 0);
        auto* table = static_cast<CTableElement*>(Find(kKindTable));
        ASSERT_NE(table, nullptr) << Markup();
        int columns = 0, rows = 0;
        table->GetRowCol(columns, rows);
        EXPECT_EQ(rows, c.rows) << Markup();
        EXPECT_EQ(columns, c.cols) << Markup();
    }
}

TEST_F(PropertyDialogs, InsertCommandsPutTheNewElementAtTheCaret)
{
    Load("<p>ab_x_Here_to_put_cursor_x_cd</p>");
    Ok({{"src", "pic.png"}, {"alt", "P"}});
    engine->PostMessage(1, 32792, 0);
    EXPECT_EQ(Markup(), "<p>ab<img alt=\"P\" src=\"pic.png\" />cd</p>");

    Load("<p>ab_x_Here_to_put_cursor_x_cd</p>");
    driver.dialogs.push_back({Answer::kPress, "Cancel", {{"href", "http://h/"}}});
    engine->PostMessage(1, 32793, 0);
    EXPECT_EQ(Markup(), "<p>abcd</p>");

    Ok({{"href", "http://h/"}});
    engine->PostMessage(1, 32793, 0);
    EXPECT_EQ(Markup(), "<p>ab<a href=\"http://h/\">http://h/</a>cd</p>");

    // In locked content the guard refuses with its message and no page opens.
    for (const unsigned id : {32792u, 32793u}) {
        Load("<p style=\"-qm-lock: true\">ab_x_Here_to_put_cursor_x_cd</p>");
        const int shown = driver.shown;
        engine->PostMessage(1, id, 0);
        EXPECT_EQ(driver.shown, shown + 1) << id;
        EXPECT_EQ(driver.kind, "message") << id;
        EXPECT_EQ(Markup(), "<p style=\"-qm-lock: true\">abcd</p>") << id;
    }
}

} // namespace
