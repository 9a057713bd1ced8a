// The command table: which member each identifier reaches and with which
// codes, the identifiers it does not list, the bands above it (page menu
// entries, toolbar buttons) and the messages PostMessage ignores; then the
// commands that act through the control or the window layer.

#include "tests/editor/support/EngineWithControl.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include "base/files/UserFolders.h"
#include "platform/ui/ModalDialog.h"

#include <fstream>

#include <set>

namespace {

using Call = CXHTML::CommandCall;
using qmtest::EngineWithControl;

struct Expected
{
    unsigned int id;
    Call call;
    void (CXHTML::*member)();
    int code;
    int scope;
};

TEST(CommandTable, IdentifiersReachTheirMembersWithTheirCodes)
{
    const Expected cases[] = {
        {12001, Call::kMember, &CXHTML::OnSource, 0, 0},
        {12004, Call::kMember, &CXHTML::OnBlind, 0, 0},
        {32768, Call::kMember, nullptr, 0, 0}, // DoProperty
        {32792, Call::kMember, &CXHTML::OnInsertimg, 0, 0},
        {32801, Call::kList, nullptr, 24, 0},
        {32802, Call::kList, nullptr, 25, 0},
        {32805, Call::kModifyAlign, nullptr, 32, 0},
        {32806, Call::kModifyAlign, nullptr, 64, 0},
        {32815, Call::kFontButton, nullptr, 6, 0},
        {32816, Call::kModifyAlign, nullptr, 16, 0},
        {32819, Call::kAlignTable, nullptr, 0x10, 4},
        {32824, Call::kAlignTable, nullptr, 4, 4},
        {32838, Call::kDataTable, nullptr, 10, 3},
        {32844, Call::kMember, &CXHTML::OnSpellcheck, 0, 0},
        {32855, Call::kMember, &CXHTML::OnDirectory, 0, 0},
        {32859, Call::kSelectAll, nullptr, 0, 0},
        {32868, Call::kMember, &CXHTML::OnPopupReset, 0, 0},
        {32886, Call::kAbout, nullptr, 0, 0},
        {32891, Call::kMember, &CXHTML::OnFindReplace, 0, 0},
        {32892, Call::kMember, &CXHTML::OnColumnprp, 0, 0},
        {32896, Call::kAlignTable, nullptr, 0x10, 1},
        {32898, Call::kAlignTable, nullptr, 0x40, 1},
        {32902, Call::kAlignTable, nullptr, 0x10, 2},
        {32907, Call::kAlignTable, nullptr, 4, 2},
        {32908, Call::kMember, &CXHTML::OnClearPrivate, 0, 0},
        {32932, Call::kMember, &CXHTML::OnDMoveTUp, 0, 0},
        {32934, Call::kMember, &CXHTML::OnDMoveTUp, 0, 0},
        {32935, Call::kMember, &CXHTML::OnDMoveTDown, 0, 0},
        {32939, Call::kMember, &CXHTML::OnDSelectTerm, 0, 0},
        {32943, Call::kMember, &CXHTML::OnDDeleteTerm, 0, 0},
        {32947, Call::kMember, &CXHTML::OnDTermPrp, 0, 0},
        {32949, Call::kMember, &CXHTML::OnHelp, 0, 0},
        {32951, Call::kMember, nullptr, 0, 0}, // DoProperty
        {32953, Call::kMember, &CXHTML::OnSaveAs, 0, 0},
        {32956, Call::kMember, &CXHTML::OnSaveFile, 0, 0},
    };
    for (const Expected& c : cases) {
        const CXHTML::CommandEntry* entry = CXHTML::FindCommand(c.id);
        ASSERT_NE(entry, nullptr) << c.id;
        EXPECT_EQ(entry->call, c.call) << c.id;
        EXPECT_TRUE(entry->member == c.member) << c.id;
        EXPECT_EQ(entry->code, c.code) << c.id;
        EXPECT_EQ(entry->scope, c.scope) << c.id;
    }
}

TEST(CommandTable, OnlyTheListedIdentifiersOfTheEditingBandAreCommands)
{
    // The listed identifiers of 32768 to 32956, as ranges.
    const std::pair<unsigned, unsigned> listed[] = {{32768, 32768}, {32773, 32773}, {32775, 32775},
        {32780, 32783}, {32789, 32790}, {32792, 32793}, {32795, 32807}, {32811, 32830}, {32835, 32840},
        {32842, 32844}, {32855, 32855}, {32859, 32859}, {32865, 32865}, {32868, 32870}, {32872, 32878},
        {32881, 32885}, {32886, 32888}, {32891, 32893}, {32896, 32908}, {32914, 32949}, {32951, 32956}};
    std::set<unsigned> commands;
    for (const auto& r : listed)
        for (unsigned id = r.first; id <= r.second; ++id)
            commands.insert(id);
    for (unsigned id = 32760; id <= 32960; ++id)
        EXPECT_EQ(CXHTML::FindCommand(id) != nullptr, commands.count(id) == 1) << id;
    for (unsigned id : {0u, 1u, 12000u, 12003u, 34000u, 36000u, 38000u})
        EXPECT_EQ(CXHTML::FindCommand(id), nullptr) << id;
}

class CommandBands : public EngineWithControl
{
protected:
    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(CommandBands, PageMenuEntriesRaiseTheirEventOnceForTheFirstOfANumber)
{
    CONTEXT_MENU_ENTRY third{38002, CSafeBuf("second of 38002"), nullptr, {}, {}};
    CONTEXT_MENU_ENTRY second{38002, CSafeBuf("first of 38002"), &third, {}, {}};
    CONTEXT_MENU_ENTRY first{38001, CSafeBuf("one"), &second, {}, {}};
    control->menuEntries = &first;

    engine->PostMessage(1, 38000, 0); // no such entry
    EXPECT_TRUE(control->menuClicks.empty());
    engine->PostMessage(1, 38002, 0);
    engine->PostMessage(1, 38001, 0);
    ASSERT_EQ(control->menuClicks.size(), 2u);
    EXPECT_EQ(qmtest::Utf8(control->menuClicks[0]), "first of 38002");
    EXPECT_EQ(qmtest::Utf8(control->menuClicks[1]), "one");
    EXPECT_TRUE(control->toolbarCommands.empty());
}

TEST_F(CommandBands, ToolbarBandGoesToTheControl)
{
    engine->PostMessage(1, 36000, 0);
    engine->PostMessage(1, 37999, 0);
    engine->PostMessage(1, 35999, 0); // a style item, not a button
    EXPECT_EQ(control->toolbarCommands, (std::vector<unsigned>{36000, 37999}));
}

TEST_F(CommandBands, OtherMessagesAreIgnoredAndTheTableSizeMessageLooksTheIdUp)
{
    engine->PostMessage(2, 36000, 0);
    engine->PostMessage(0, 32886, 0);
    EXPECT_TRUE(control->toolbarCommands.empty());
    EXPECT_EQ(driver.shown, 0);

    engine->PostMessage(1100, 36001, 0x0303);
    EXPECT_EQ(control->toolbarCommands, (std::vector<unsigned>{36001}));
}

TEST_F(CommandBands, UnlistedIdentifiersDoNothing)
{
    ASSERT_TRUE(engine->LoadDocument(CSafeBuf("<p>te_x_Here_to_put_cursor_x_xt</p><p>more</p>")));
    // Mode bit 4 leaves out the generator comment, whose time may pass a
    // second between two writes.
    CSafeBuf before;
    engine->GetSourceCode(before, 2 | 16);
    for (unsigned id : {0u, 1u, 12000u, 12003u, 32769u, 32774u, 32776u, 32808u, 32831u, 32841u, 32845u,
             32860u, 32890u, 32909u, 32950u, 32957u, 33999u}) {
        engine->PostMessage(1, id, 0);
        CSafeBuf after;
        engine->GetSourceCode(after, 2 | 16);
        EXPECT_EQ(qmtest::Utf8(after), qmtest::Utf8(before)) << id;
    }
    EXPECT_EQ(driver.shown, 0);
    EXPECT_TRUE(control->toolbarCommands.empty());
    EXPECT_TRUE(control->menuClicks.empty());
    EXPECT_TRUE(control->buttonsRunById.empty());
}

TEST_F(CommandBands, AboutHelpAndSmallCommandsActThroughTheControl)
{
    engine->PostMessage(1, 32886, 0);
    EXPECT_EQ(driver.shown, 1);
    EXPECT_EQ(driver.kind, "about");

    engine->PostMessage(1, 32949, 0);
    EXPECT_EQ(control->buttonsRunById, (std::vector<std::string>{"help"}));

    for (unsigned id : {32844u, 32855u}) {
        engine->PostMessage(1, id, 0);
        EXPECT_EQ(driver.kind, "message") << id;
        ASSERT_FALSE(driver.texts.empty());
        EXPECT_EQ(driver.texts[0], "This service is not available.") << id;
    }
}

TEST_F(CommandBands, ClearPrivateEmptiesTheTemporaryAndCacheFolders)
{
    std::vector<std::string> files;
    for (const CSafeBuf* folder : {&GetUserTempFolder(), &GetUserCacheFolder()}) {
        ASSERT_FALSE(folder->IsEmpty());
        files.push_back(qmtest::Utf8(*folder) + "/private");
        std::ofstream(files.back()) << "data";
        ASSERT_TRUE(std::ifstream(files.back()).good());
    }
    engine->PostMessage(1, 32908, 0);
    for (const std::string& f : files)
        EXPECT_FALSE(std::ifstream(f).good()) << f;
}

TEST_F(CommandBands, FindOpensTheEnginesDialogOnceInTheWysiwygView)
{
    ASSERT_TRUE(engine->LoadDocument(CSafeBuf("<p>text</p>")));
    const std::size_t before = qm::ui::ModalDialog::Modeless().size();
    engine->PostMessage(1, 32891, 0);
    engine->PostMessage(1, 32891, 0);
    EXPECT_EQ(qm::ui::ModalDialog::Modeless().size(), before + 1);
    ASSERT_NE(engine->m_findDialog, nullptr);
}

} // namespace
