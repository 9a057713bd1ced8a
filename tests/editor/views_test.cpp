// The engine's side of the views: the four view commands set the view
// buttons and ask the control for its view, the context-menu entries the
// page added raise their event, a view change closes the find dialog,
// loading places the caret and resets the buttons, and the tag list around
// the caret or the selection (tests/data/tag_list/engine_cases.txt).

#include "tests/editor/support/EngineWithControl.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/ElementPath.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include "base/xml/XmlLoad.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "platform/ui/ModalDialog.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qmtest::EngineWithControl;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

// A control whose view buttons are a map of checks and whose view
// operations are recorded.
class ButtonControl : public qmtest::ViewControl
{
public:
    int ToolCheckButton(int kind, unsigned, bool check, bool) override
    {
        checked[kind] = check;
        return 1;
    }
    int ToolIsButtonChecked(int kind, unsigned, bool) override { return checked[kind] ? 1 : 0; }
    int ToolEnableButton(int kind, unsigned, bool enable, bool) override
    {
        enabled[kind] = enable;
        return 1;
    }
    void OnXHtml() override { views.push_back("wysiwyg"); }
    void OnSource() override { views.push_back("source"); }
    void OnPreview() override { views.push_back("preview"); }
    void OnBlind() override { views.push_back("screen-reader"); }

    // The four view buttons as "WSPR" letters of those checked, in the
    // order WYSIWYG (27), source (25), preview (26), screen reader (28).
    std::string Checks()
    {
        std::string out;
        const std::pair<int, char> buttons[] = {{27, 'W'}, {25, 'S'}, {26, 'P'}, {28, 'R'}};
        for (const auto& b : buttons)
            out += checked[b.first] ? b.second : '-';
        return out;
    }

    std::map<int, bool> checked;
    std::map<int, bool> enabled;
    std::vector<std::string> views;
};

class Views : public EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        buttons = new ButtonControl();
        control.reset(buttons);
        engine->m_control = buttons;
        engine->m_controlOptions = &buttons->Options;
    }
    void TearDown() override
    {
        engine.reset();
        control.reset();
    }
    void Load(const std::string& markup) { ASSERT_TRUE(engine->LoadDocument(FromUtf8(markup))); }

    CElement* Find(const std::string& path)
    {
        CElement* root = engine->m_doc.m_root;
        for (CElement* e = root; e; e = NextInSubtree(e, root))
            if (qmtest::PathOf(e) == path)
                return e;
        return nullptr;
    }

    ButtonControl* buttons = nullptr;
};

// Each command by the state of its own button after the toolbar's flip.
struct CommandCase
{
    const char* name;
    void (CXHTML::*command)();
    int ownButton;
    bool ownChecked;
    const char* checks; // the view buttons afterwards ("-" unchecked)
    const char* view;   // the control's view operation called
};

const CommandCase kCommandCases[] = {
    {"SourceOn", &CXHTML::OnSource, 25, true, "-S--", "source"},
    {"SourceOffGoesBack", &CXHTML::OnSource, 25, false, "W---", "wysiwyg"},
    {"WysiwygOn", &CXHTML::OnWysiwyg, 27, true, "W---", "wysiwyg"},
    {"WysiwygClickedWhileOnGoesToSource", &CXHTML::OnWysiwyg, 27, false, "-S--", "source"},
    {"PreviewOn", &CXHTML::OnPreview, 26, true, "--P-", "preview"},
    {"PreviewOffGoesBack", &CXHTML::OnPreview, 26, false, "W---", "wysiwyg"},
    {"ScreenReaderOn", &CXHTML::OnBlind, 28, true, "---R", "screen-reader"},
    {"ScreenReaderOffGoesBack", &CXHTML::OnBlind, 28, false, "W---", "wysiwyg"},
};

TEST_F(Views, ViewCommandsSetTheButtonsAndSwitch)
{
    for (const CommandCase& c : kCommandCases) {
        SCOPED_TRACE(c.name);
        // Every button starts checked but the command's own, as the flip left it.
        // The others are all checked before a click that turns its button
        // on (so that clearing them shows) and all unchecked before one that
        // turns it off.
        for (int kind : {25, 26, 27, 28})
            buttons->checked[kind] = c.ownChecked;
        buttons->views.clear();
        (engine.get()->*c.command)();
        EXPECT_EQ(c.checks, buttons->Checks());
        EXPECT_EQ(std::vector<std::string>{c.view}, buttons->views);
    }
}

TEST_F(Views, TheCommandTableReachesTheViewCommands)
{
    buttons->checked[26] = true;
    engine->PostMessage(1, 12002, 0);
    buttons->checked[27] = true;
    engine->PostMessage(1, 32865, 0);
    EXPECT_EQ((std::vector<std::string>{"preview", "wysiwyg"}), buttons->views);
}

TEST_F(Views, PageMenuEntriesRaiseTheirEventByIdentifier)
{
    CONTEXT_MENU_ENTRY second;
    second.id = 38001;
    second.name = FromUtf8("two");
    CONTEXT_MENU_ENTRY first;
    first.id = 38000;
    first.name = FromUtf8("one");
    first.next = &second;
    buttons->menuEntries = &first;

    engine->ProcessCustomMenu(38001);
    engine->ProcessCustomMenu(38002); // no entry has it
    engine->ProcessCustomMenu(37999); // below the band
    engine->PostMessage(1, 38000, 0);
    ASSERT_EQ(2u, buttons->menuClicks.size());
    EXPECT_EQ("two", ToUtf8(buttons->menuClicks[0]));
    EXPECT_EQ("one", ToUtf8(buttons->menuClicks[1]));
}

TEST_F(Views, ChangingViewClosesTheFindDialog)
{
    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
    Load("<p>abc</p>");
    engine->DoFindReplace(false);
    ASSERT_NE(nullptr, engine->m_findDialog);
    engine->SwitchingView();
    EXPECT_EQ(nullptr, engine->m_findDialog);
    for (qm::ui::ModalDialog* d : qm::ui::ModalDialog::Modeless())
        EXPECT_NE("find-replace", d->ModalKind());
    engine->SwitchingView(); // nothing open: harmless
}

// Where loading leaves the caret, and the buttons it resets.
struct LoadCase
{
    const char* markup;
    const char* caret; // the caret element's path, "none" for none
};

const LoadCase kLoadCases[] = {
    {"<p>one</p><p>two</p>", "/body[1]/p[1]/text()[1]"},
    // No text: the last element without content of its own takes the caret.
    {"<hr />", "/body[1]/hr[1]"},
    {"<hr /><hr class=\"b\" />", "/body[1]/hr[2]"},
    // A rule and an image: the image, although the tree repair gives it an
    // empty text run in front; an empty document gets a paragraph whose run
    // takes the caret. Text anywhere: its first run, even an empty one.
    {"<hr /><img src=\"a.png\" alt=\"\" />", "/body[1]/p[1]/img[1]"},
    {"", "/body[1]/p[1]/text()[1]"},
    {"<p></p><p>two</p>", "/body[1]/p[1]/text()[1]"},
    {"<hr /><p>x</p>", "/body[1]/p[1]/text()[1]"},
};

TEST_F(Views, LoadingPlacesTheCaretAndResetsTheButtons)
{
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.markup);
        buttons->enabled.clear();
        for (int kind : {9, 18, 19})
            buttons->enabled[kind] = true;
        Load(c.markup);
        CElement* caret = engine->m_doc.m_caretElement;
        EXPECT_EQ(c.caret, qmtest::PathOf(caret));
        if (caret && !caret->IsTextElement()) {
            EXPECT_EQ(0, caret->m_caretOffset);
        }
        for (int kind : {9, 18, 19})
            EXPECT_FALSE(buttons->enabled[kind]) << kind;
        // The edit buttons were set from the undo lists: paste on.
        EXPECT_TRUE(buttons->enabled[22]);
    }
}

bool ParsesAsXml(const std::string& text)
{
    xmlDoc* doc = LoadXMLString(FromUtf8(text));
    XMLReleaseDom(doc);
    return doc != nullptr;
}

TEST_F(Views, TagListTableOfCases)
{
    qmtest::CaseBlockFile file("tag_list/engine_cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.input);
        std::string markup, line;
        std::getline(in, markup);
        Load(markup);
        CXDoc& doc = engine->m_doc;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string verb, path;
            words >> verb;
            if (verb == "caret") {
                words >> path;
                doc.m_caretElement = Find(path);
                ASSERT_NE(nullptr, doc.m_caretElement) << path;
            } else if (verb == "select") {
                doc.m_root->CleanSelection(true);
                doc.m_selectionPresent = 1;
                while (words >> path) {
                    CElement* e = Find(path);
                    ASSERT_NE(nullptr, e) << path;
                    e->m_selected = 1;
                    e->m_selectable = 1;
                }
            }
        }
        std::string actual;
        bool xmlOk = true;
        for (int format : {0, 1, 2, 3, 4, 9}) {
            CSafeBuf out(FromUtf8("left over"));
            EXPECT_TRUE(engine->GetTagList(out, format));
            actual += std::to_string(format) + ": " + ToUtf8(out) + "\n";
            if (format == 1 || format == 2)
                xmlOk = xmlOk && ParsesAsXml(ToUtf8(out));
        }
        actual += xmlOk ? "xml ok" : "xml broken";
        file.Check(c, actual);
    }
}

} // namespace
