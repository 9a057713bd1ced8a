// The control's settings: custom element lists, path macros, connection
// settings, identifier header fields, icons and icon definitions.

#include "plugin/MorvaXEditorCtrl.h"

#include "net/AdditionalHeaders.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <string>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

// The control makes its folders under HOME; keep them out of the real one.
class ControlSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("settings-home-")));
        control = new CMorvaXEditorCtrl();
    }
    void TearDown() override { delete control; }

    qmtest::TempHome home;
    CMorvaXEditorCtrl* control = nullptr;
};

} // namespace

TEST(ElementListTest, SearchCopyIsTrimmedBlankFreeAndEnclosedInCommas)
{
    struct Case
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"   \t ", ""},
        {"box", ",box,"},
        {" note , aside\t,\r\nx:panel ", ",note,aside,x:panel,"},
        {",lead,", ",lead,"},
        {"lead,", ",lead,"},
        {",lead", ",lead,"},
        {"a b,c", ",ab,c,"},
    };
    for (const Case& c : cases) {
        CSafeBuf search;
        CMorvaXEditorCtrl::NormaliseElementList(FromUtf8(c.in), search);
        EXPECT_EQ(ToUtf8(search), c.out) << '"' << c.in << '"';
    }
}

TEST(ElementListTest, LookupMatchesWholeNamesCaseSensitively)
{
    CSafeBuf search;
    CMorvaXEditorCtrl::NormaliseElementList(FromUtf8("note, x:panel"), search);
    EXPECT_TRUE(CMorvaXEditorCtrl::IsInElementList(search, FromUtf8("note")));
    EXPECT_TRUE(CMorvaXEditorCtrl::IsInElementList(search, FromUtf8("x:panel")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, FromUtf8("Note")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, FromUtf8("not")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, FromUtf8("panel")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, FromUtf8("")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, nullptr));
}

TEST_F(ControlSettingsTest, CustomElementSettersKeepRawTextAndRebuildSearchCopy)
{
    control->SetCustomBlockElements(FromUtf8(" note , aside "));
    control->SetCustomEmptyElements(FromUtf8("marker"));
    control->SetCustomInlineElements(FromUtf8("term"));
    EXPECT_EQ(ToUtf8(control->CustomBlockElements), " note , aside ");
    EXPECT_EQ(ToUtf8(control->CustomBlockElementsSearch), ",note,aside,");
    EXPECT_EQ(ToUtf8(control->CustomEmptyElementsSearch), ",marker,");
    EXPECT_EQ(ToUtf8(control->CustomInlineElementsSearch), ",term,");

    control->SetCustomBlockElements(nullptr);
    EXPECT_TRUE(control->CustomBlockElements.IsEmpty());
    EXPECT_TRUE(control->CustomBlockElementsSearch.IsEmpty());

    control->SubdocumentTags = FromUtf8("cms:teaser, cms:box");
    EXPECT_TRUE(control->IsSubdocumentTag(FromUtf8("cms:box")));
    EXPECT_FALSE(control->IsSubdocumentTag(FromUtf8("cms")));
}

TEST_F(ControlSettingsTest, PathMacrosReplaceOnlyTheFirstOccurrence)
{
    CSafeBuf text
        = FromUtf8("%AppPath%/styles.xml %AppPath% %SystemDrive%/a %SystemDrive% %InstallPath%x %appPath%");
    control->ReplaceSystemDrive(text);
    EXPECT_EQ(ToUtf8(text),
        "file:///Applications/styles.xml %AppPath% /a %SystemDrive% "
        "file:///Applicationsx %appPath%");
}

TEST_F(ControlSettingsTest, ProxyIsOnOnlyForManualSettingWithServer)
{
    control->ProxyServer = FromUtf8("  proxy.local ");
    control->ProxyPort = 3128;
    control->ProxyUser = FromUtf8("u");
    control->ProxyPassword = FromUtf8("p");

    control->ProxySetting = 2;
    control->ProcessProxyInfo();
    EXPECT_TRUE(control->HttpUseProxy());
    CSafeBuf server, user, password;
    unsigned int port = 0;
    control->HttpProxy(server, port, user, password);
    EXPECT_EQ(ToUtf8(server), "proxy.local");
    EXPECT_EQ(port, 3128u);
    EXPECT_EQ(ToUtf8(user), "u");

    control->ProxySetting = 1; // auto-detect alone never turns it on
    control->ProcessProxyInfo();
    EXPECT_FALSE(control->HttpUseProxy());

    control->ProxySetting = 2;
    control->ProxyServer = FromUtf8("   ");
    control->ProcessProxyInfo();
    EXPECT_FALSE(control->HttpUseProxy());

    control->ProxySetting = 0;
    control->ProxyServer = FromUtf8("proxy.local");
    control->ProcessProxyInfo();
    EXPECT_FALSE(control->HttpUseProxy());
}

TEST_F(ControlSettingsTest, HeaderRecordStartsWithUserAgentOnly)
{
    const ADDITIONAL_HTTP_HEADERS* h = control->HttpHeaders();
    ASSERT_NE(h, nullptr);
    std::string agent = ToUtf8(h->UserAgent);
    EXPECT_EQ(agent.rfind("Quillmark ", 0), 0u);
    EXPECT_NE(agent.find("; MAC OS X "), std::string::npos);
    EXPECT_EQ(agent.substr(agent.size() - 32), "d41d8cd98f00b204e9800998ecf8427e");
    for (int i = 0; i < AdditionalHeaderCount(); ++i) {
        if (std::string(AdditionalHeaderName(i)) != "User-Agent") {
            EXPECT_EQ(AdditionalHeaderValue(h, i)[0], 0) << AdditionalHeaderName(i);
        }
    }
    EXPECT_FALSE(control->HttpDebug());
    control->Debug = 1;
    EXPECT_TRUE(control->HttpDebug());
}

TEST_F(ControlSettingsTest, LongCookieStaysInsideItsField)
{
    std::string big(10000, 'c');
    control->SetCookie(FromUtf8(big));
    EXPECT_EQ(control->Cookie.Length(), 10000); // the setting keeps it whole
    EXPECT_EQ(ToUtf8(control->Headers().Cookie), std::string(8191, 'c'));

    control->SetNewCookie(FromUtf8("other=1")); // only while no cookie is set
    EXPECT_EQ(control->Cookie.Length(), 10000);
    control->SetCookie(FromUtf8(""));
    control->SetNewCookie(FromUtf8("other=1"));
    EXPECT_EQ(ToUtf8(control->Headers().Cookie), "other=1");
}

TEST_F(ControlSettingsTest, IconLookupAndPlaceHolderChain)
{
    const unsigned char png[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    ASSERT_TRUE(control->AddIcon(FromUtf8("form"), png, sizeof png));
    ASSERT_TRUE(control->AddIcon(FromUtf8("form"), png, 2)); // a second of the same name is never found
    ASSERT_TRUE(control->AddIcon(FromUtf8(std::string(60, 'n')), png, 1));

    int size = -1;
    unsigned char* stored = control->GetIconFromIcons(FromUtf8("form"), &size, nullptr, nullptr);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(size, 7);
    EXPECT_EQ(control->GetIconFromIcons("form", &size, nullptr, nullptr), stored);
    EXPECT_EQ(control->GetIconFromIcons(FromUtf8("Form"), &size, nullptr, nullptr), nullptr);
    EXPECT_EQ(size, 0);

    int copied = 0;
    unsigned char* copy = control->GetIconFromArray(FromUtf8("form"), copied, true);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, stored);
    EXPECT_EQ(copied, 7);
    EXPECT_EQ(copy[1], 'P');
    delete[] copy;
    // Names are cut at 49 units.
    EXPECT_NE(control->GetIconFromArray(FromUtf8(std::string(49, 'n')), copied, false), nullptr);

    PLACEHOLDERSSTRUCT* last = nullptr;
    control->AddPlaceHolderItem("joomla:readmore", "readmore", last);
    control->AddPlaceHolderItem(FromUtf8("joomla:pagebreak"), FromUtf8("pagebreak"), last);
    PLACEHOLDERSSTRUCT* head = control->GetPlaceHolders();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(ToUtf8(head->element), "joomla:readmore");
    EXPECT_EQ(head->iconIsName, 1);
    EXPECT_EQ(ToUtf8(static_cast<unsigned short*>(head->icon)), "readmore");
    ASSERT_EQ(head->next, last);
    EXPECT_EQ(ToUtf8(last->element), "joomla:pagebreak");

    control->RemoveIcons();
    EXPECT_EQ(control->GetIcons(), nullptr);
    control->ReleasePlaceHolders();
    EXPECT_EQ(control->GetPlaceHolders(), nullptr);
}

TEST_F(ControlSettingsTest, InterfaceTextsComeInlineOrThroughTheCache)
{
    control->Lang = FromUtf8("en");
    control->SetLocalization(FromUtf8("<localization><text><none>Nada</none></text></localization>"));
    EXPECT_EQ(ToUtf8(control->GetLangString().GetItem("text/none", "None")), "Nada");

    qmtest::LoopbackServer server;
    ASSERT_TRUE(server.Ok());
    server.Answer("/texts.xml", 200, "<localization><text><none>Keine</none></text></localization>");
    control->EnableCache = 1;
    control->SetLocalization(FromUtf8("  " + server.Url("/texts.xml") + " "));
    EXPECT_EQ(ToUtf8(control->Localization), server.Url("/texts.xml"));
    EXPECT_EQ(ToUtf8(control->GetLangString().GetItem("text/none", "None")), "Keine");

    // The answer was stored under the cache name and is read from there now.
    CSafeBuf url = control->Localization, cacheFile;
    EXPECT_TRUE(control->GetCacheFile(url, cacheFile));
    server.Answer("/texts.xml", 200, "<localization><text><none>Changed</none></text></localization>");
    control->LoadInterfaceTexts();
    EXPECT_EQ(ToUtf8(control->GetLangString().GetItem("text/none", "None")), "Keine");
    EXPECT_EQ(server.Requests().size(), 1u);
}
