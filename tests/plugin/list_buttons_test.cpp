// The list and blockquote buttons and the style box of the toolbar through the editor's shared
// module in the test host: each case of tests/data/plugin/list_buttons.txt
// clicks the buttons where the toolbar lays them out and reads the form
// value. The toolbar (400 pixels wide) holds the style box and then, in
// 24-pixel cells from x 182 and y 8 of the control, unordered-list,
// ordered-list, blockquote and undo-blockquote, 16 pixels square: their
// centres are (190, 16), (214, 16), (238, 16) and (262, 16).

#include "tests/plugin/support/PageCases.h"

#include <gtest/gtest.h>

TEST(ListButtons, FormValueAfterButtons)
{
    qmtest::RunPageCases("plugin/list_buttons.txt",
        "<param name=\"ToolbarWysiwyg\" value=\"unordered-list,ordered-list,blockquote,undo-blockquote\"/>");
}

// The style box (the toolbar's first 160 pixels) clicked: the style menu,
// ungrouped styles first and a submenu for each run of one group's title.
TEST(StyleBox, ClickingTheBoxShowsTheStyleMenu)
{
    qmtest::RunPageCases("plugin/style_box.txt",
        "<param name=\"ToolbarWysiwyg\" value=\"unordered-list\"/>"
        "<param name=\"Styles\" value=\"&lt;styles&gt;"
        "&lt;group&gt;&lt;label&gt;Headings&lt;/label&gt;&lt;style&gt;&lt;name&gt;One&lt;/name&gt;"
        "&lt;elt&gt;h1&lt;/elt&gt;&lt;/style&gt;&lt;/group&gt;"
        "&lt;style&gt;&lt;name&gt;Plain&lt;/name&gt;&lt;elt&gt;p&lt;/elt&gt;&lt;/style&gt;"
        "&lt;group&gt;&lt;label&gt;Headings&lt;/label&gt;&lt;style&gt;&lt;name&gt;Two&lt;/name&gt;"
        "&lt;elt&gt;h2&lt;/elt&gt;&lt;/style&gt;&lt;/group&gt;&lt;/styles&gt;\"/>");
}
