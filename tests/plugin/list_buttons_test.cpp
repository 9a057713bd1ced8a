// The list and blockquote buttons of the toolbar through the editor's shared
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
