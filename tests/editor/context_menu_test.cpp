// The context menu in the engine: its texts (every entry of "MenuAll" has a
// key whose English text the bundle holds), the cleaning of separators and
// empty submenus, and the table submenu's enabled states and check marks as
// the menu shown to the user has them.

#include "base/app/LangString.h"
#include "editor/ContextMenuOps.h"
#include "editor/ContextMenuTexts.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "platform/ui/MenuFile.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::Utf8;
using namespace qm::menu;

std::string U8(const std::u16string& text)
{
    CSafeBuf buf;
    for (char16_t c : text)
        buf += static_cast<unsigned short>(c);
    return Utf8(buf);
}

// Every entry and submenu title of the menu, as "command=text" or
// "#id=text".
void Collect(const qm::ui::Menu& menu, std::vector<std::string>& out)
{
    for (const qm::ui::MenuItem& item : menu.Items()) {
        if (item.separator)
            continue;
        if (item.submenu) {
            out.push_back("#" + std::to_string(item.submenu->Id()) + "=" + U8(item.text));
            Collect(*item.submenu, out);
        } else {
            out.push_back(std::to_string(item.command) + "=" + U8(item.text));
        }
    }
}

TEST(ContextMenuTexts, EveryEntryHasAKeyWhoseEnglishTextTheBundleHolds)
{
    CLangString bundled;
    bundled.LoadLocalDefault(FromUtf8("en"));
    std::set<std::string> named;
    for (bool tasks : {false, true}) {
        std::size_t count = 0;
        const ContextMenuText* texts = tasks ? ContextMenuTaskTexts(count) : ContextMenuFixedTexts(count);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_STRNE(texts[i].english, "") << texts[i].key;
            EXPECT_EQ(Utf8(bundled.GetItem(texts[i].key, "(none)")), texts[i].english) << texts[i].key;
            named.insert(
                texts[i].command ? std::to_string(texts[i].command) : "#" + std::to_string(texts[i].menuId));
        }
    }
    for (bool numbered : {false, true}) {
        for (const ContextMenuText* t :
            {&ContextMenuListTitle(numbered), &ContextMenuListTypeEntry(numbered)}) {
            EXPECT_EQ(Utf8(bundled.GetItem(t->key, "(none)")), t->english) << t->key;
            named.insert(t->command ? std::to_string(t->command) : "#" + std::to_string(t->menuId));
        }
    }
    qm::ui::Menu menu;
    ASSERT_TRUE(qm::ui::LoadMenu("Quillmark", "MenuAll", menu));
    std::vector<std::string> entries;
    Collect(menu, entries);
    for (const std::string& entry : entries)
        EXPECT_EQ(named.count(entry.substr(0, entry.find('='))), 1u) << entry << " has no key";
}

// A flat menu written as its entries joined by ",": "-" a separator, "X>"
// an empty submenu, "X>(a,b)" a submenu, anything else an entry.
void Parse(std::istringstream& in, qm::ui::Menu& menu)
{
    std::string token;
    char c = 0;
    while (in.get(c)) {
        if (c == ',' || c == ')') {
            if (!token.empty()) {
                qm::ui::MenuItem item;
                item.separator = token == "-";
                if (!item.separator)
                    item.text.assign(token.begin(), token.end());
                menu.Append(item);
            }
            token.clear();
            if (c == ')')
                return;
        } else if (c == '>') {
            qm::ui::MenuItem item;
            item.text.assign(token.begin(), token.end());
            item.submenu.reset(new qm::ui::Menu());
            if (in.peek() == '(') {
                in.get(c);
                Parse(in, *item.submenu);
            }
            menu.Append(std::move(item));
            token.clear();
            if (in.peek() == ',')
                in.get(c);
        } else {
            token += c;
        }
    }
    if (!token.empty()) {
        qm::ui::MenuItem item;
        item.separator = token == "-";
        if (!item.separator)
            item.text.assign(token.begin(), token.end());
        menu.Append(item);
    }
}

std::string Write(const qm::ui::Menu& menu)
{
    std::string out;
    for (const qm::ui::MenuItem& item : menu.Items()) {
        out += out.empty() ? "" : ",";
        if (item.separator)
            out += "-";
        else if (item.submenu)
            out += U8(item.text) + ">(" + Write(*item.submenu) + ")";
        else
            out += U8(item.text);
    }
    return out;
}

TEST(ContextMenuOps, CleanMenuDropsLooseSeparatorsAndEmptySubmenus)
{
    const std::pair<const char*, const char*> cases[] = {
        {"-,a,-,-,b,-,-", "a,-,b"},
        {"-", ""},
        {"a,-,S>,-,b", "a,-,b"},
        {"a,S>(-,x,-,-,y,-),-", "a,S>(x,-,y)"},
        {"a,S>(-,T>(-),-),b", "a,b"},
        {"-,-,a", "a"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.first);
        qm::ui::Menu menu;
        Parse(in, menu);
        CleanMenu(menu);
        EXPECT_EQ(Write(menu), c.second) << c.first;
    }
}

class ContextMenuTable : public qmtest::EngineWithControl
{
protected:
    // Opens the menu over the first text run holding text and answers the
    // menu as shown.
    std::vector<qm::events::MenuEntry> Menu(const char* text)
    {
        CElement* run = FindRun(engine->m_doc.m_root, text);
        EXPECT_NE(run, nullptr) << text;
        engine->m_doc.m_pointerElement = run;
        driver.lastMenu = {};
        engine->OnContextMenu(CPoint(1, 1));
        return driver.lastMenu.entries;
    }
    // The table submenu of that menu, empty when it did not show.
    std::vector<qm::events::MenuEntry> TableMenu(const char* text)
    {
        for (const auto& entry : Menu(text)) {
            if (entry.text == "Table")
                return entry.submenu;
        }
        return {};
    }
    static CElement* FindRun(CElement* e, const char* text)
    {
        if (!e)
            return nullptr;
        if (e->IsTextElement() && Utf8(e->m_text) == text)
            return e;
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (CElement* found = FindRun(c, text))
                return found;
        }
        return nullptr;
    }
    static const qm::events::MenuEntry* Entry(
        const std::vector<qm::events::MenuEntry>& menu, const std::string& path)
    {
        const std::string::size_type slash = path.find('/');
        for (const auto& e : menu) {
            if (e.text != path.substr(0, slash))
                continue;
            return slash == std::string::npos ? &e : Entry(e.submenu, path.substr(slash + 1));
        }
        return nullptr;
    }
    // "+" enabled, "-" disabled, "x" missing; "*" appended when checked.
    static std::string State(const std::vector<qm::events::MenuEntry>& menu, const std::string& path)
    {
        const qm::events::MenuEntry* e = Entry(menu, path);
        if (!e)
            return "x";
        return std::string(e->enabled ? "+" : "-") + (e->checked ? "*" : "");
    }
    void MarkCells(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts) {
            CElement* run = FindRun(engine->m_doc.m_root, text);
            ASSERT_NE(run, nullptr);
            run->m_parent->m_wholeCell = 1;
            run->m_selected = 1;
        }
        engine->m_doc.m_selectionPresent = 1;
        engine->m_doc.m_cellMarkMode = 1;
        engine->m_doc.m_selectedCellCount = static_cast<int>(texts.size());
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(ContextMenuTable, EntriesFollowTheTargetCell)
{
    ASSERT_TRUE(engine->LoadDocument(
        FromUtf8("<table><tr><th>h1</th><td align=\"center\" valign=\"bottom\">c1</td></tr>"
                 "<tr><th>h2</th><td colspan=\"1\" rowspan=\"2\">c2</td></tr><tr><th>h3</th></tr></table>")));
    const auto header = TableMenu("h1");
    ASSERT_FALSE(header.empty());
    EXPECT_EQ(State(header, "Column Of Headers"), "+*");
    EXPECT_EQ(State(header, "Row Of Headers"), "+");
    EXPECT_EQ(State(header, "Split Cell"), "-");
    EXPECT_EQ(State(header, "Merge Cells"), "-");
    EXPECT_EQ(State(header, "Insert Row Below"), "+");
    EXPECT_EQ(State(header, "Cell Properties"), "+");

    const auto aligned = TableMenu("c1");
    EXPECT_EQ(State(aligned, "Column Of Headers"), "+");
    EXPECT_EQ(State(aligned, "Align Cell/Align Horizontal/Center"), "+*");
    EXPECT_EQ(State(aligned, "Align Cell/Align Horizontal/Left"), "+");
    EXPECT_EQ(State(aligned, "Align Cell/Align Vertical/Bottom"), "+*");

    EXPECT_EQ(State(TableMenu("c2"), "Split Cell"), "+");
}

TEST_F(ContextMenuTable, TwoMarkedCellsOfOneRowEnableMerge)
{
    ASSERT_TRUE(engine->LoadDocument(
        FromUtf8("<table><tr><td>a1</td><td>a2</td></tr><tr><td>b1</td><td>b2</td></tr></table>")));
    MarkCells({"a1", "a2"});
    const auto menu = TableMenu("a1");
    EXPECT_EQ(State(menu, "Merge Cells"), "+");
    EXPECT_EQ(State(menu, "Delete Column"), "-"); // columns: more than one
    EXPECT_EQ(State(menu, "Align Column"), "x");
    EXPECT_EQ(State(menu, "Delete Row"), "+");
}

TEST_F(ContextMenuTable, ALockedTableHasNoTableSubmenu)
{
    ASSERT_TRUE(engine->LoadDocument(
        FromUtf8("<table style=\"-qm-lock: true\"><tr><td>a1</td></tr></table><p>after</p>")));
    EXPECT_TRUE(TableMenu("a1").empty());
    EXPECT_FALSE(driver.lastMenu.entries.empty());
}

// The list and definition-list entries enabled by where the item stands:
// markup, the text under the pointer, then "path=state" pairs (State above).
TEST_F(ContextMenuTable, ListAndDefinitionListEntriesFollowTheItem)
{
    struct Case
    {
        const char* markup;
        const char* text;
        std::vector<std::pair<const char*, const char*>> states;
    };
    const Case cases[] = {
        {"<ol><li>a</li><li>b</li></ol>", "a",
            {{"Numbered List/Move Item Up", "-"}, {"Numbered List/Move Item Down", "+"},
                {"Numbered List/Remove Sublist", "-"}, {"Numbered List/Change To Bulleted List", "+"}}},
        {"<ul><li>a<ul><li>n</li></ul></li></ul>", "n",
            {{"Bulleted List/Remove Sublist", "+"}, {"Bulleted List/Move Item Down", "-"},
                {"Bulleted List/Change To Numbered List", "+"}}},
        {"<dl><dt>t1</dt><dd>d1</dd><dt>t2</dt><dd>d2</dd></dl>", "t1",
            {{"Definition List/Move Term Up", "-"}, {"Definition List/Move Term Down", "+"},
                {"Definition List/Move Item Up", "-"}, {"Definition List/Move Item Down", "+"},
                {"Definition List/Move Description Up", "-"}, {"Definition List/Delete Description", "-"},
                {"Definition List/Delete Term", "+"}}},
        {"<dl><dt>t1</dt><dd>d1</dd><dt>t2</dt><dd>d2</dd></dl>", "d2",
            {{"Definition List/Move Item Up", "+"}, {"Definition List/Move Item Down", "-"},
                {"Definition List/Move Description Up", "+"}, {"Definition List/Move Description Down", "-"},
                {"Definition List/Delete Term", "-"}, {"Definition List/Delete Description", "+"}}},
        {"<dl><dt>t1</dt><dt>t2</dt><dd>d1</dd></dl>", "t2",
            {{"Definition List/Move Item Up", "-"}, {"Definition List/Move Item Down", "-"},
                {"Definition List/Move Term Up", "+"}}},
        {"<p>plain</p>", "plain", {{"Bulleted List", "x"}, {"Definition List", "x"}, {"Table", "x"}}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(engine->LoadDocument(FromUtf8(c.markup))) << c.markup;
        const auto menu = Menu(c.text);
        for (const auto& s : c.states)
            EXPECT_EQ(State(menu, s.first), s.second) << c.markup << " at " << c.text << ": " << s.first;
    }
}

} // namespace
