// The control's settings: custom element lists, path macros, connection
// settings, identifier header fields, icons and icon definitions.

#include "plugin/MorvaXEditorCtrl.h"

#include "net/AdditionalHeaders.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

CSafeBuf U(const std::string& s)
{
    CSafeBuf b;
    b.AssignUTF8(s.c_str());
    return b;
}

std::string Utf8(const unsigned short* text)
{
    CSafeBuf b(text);
    char* bytes = nullptr;
    int n = b.CreateUTF8Str(&bytes);
    std::string out = bytes ? std::string(bytes, static_cast<size_t>(n)) : std::string();
    delete[] bytes;
    return out;
}

// The control makes its folders under HOME; keep them out of the real one.
class ControlSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* old = std::getenv("HOME");
        hadHome = old != nullptr;
        if (old)
            oldHome = old;
        home = std::string(QM_TEST_OUTPUT_DIR) + "/settings-home-" + std::to_string(::getpid());
        ::setenv("HOME", home.c_str(), 1);
        ::mkdir(home.c_str(), 0700);
        control = new CMorvaXEditorCtrl();
    }
    void TearDown() override
    {
        delete control;
        if (hadHome)
            ::setenv("HOME", oldHome.c_str(), 1);
        else
            ::unsetenv("HOME");
        std::system(("rm -rf '" + home + "'").c_str());
    }

    bool hadHome = false;
    std::string oldHome, home;
    CMorvaXEditorCtrl* control = nullptr;
};

} // namespace

TEST(ElementListTest, SearchCopyIsTrimmedBlankFreeAndEnclosedInCommas)
{
    struct Case { const char* in; const char* out; } cases[] = {
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
        CMorvaXEditorCtrl::NormaliseElementList(U(c.in), search);
        EXPECT_EQ(Utf8(search), c.out) << '"' << c.in << '"';
    }
}

TEST(ElementListTest, LookupMatchesWholeNamesCaseSensitively)
{
    CSafeBuf search;
    CMorvaXEditorCtrl::NormaliseElementList(U("note, x:panel"), search);
    EXPECT_TRUE(CMorvaXEditorCtrl::IsInElementList(search, U("note")));
    EXPECT_TRUE(CMorvaXEditorCtrl::IsInElementList(search, U("x:panel")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, U("Note")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, U("not")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, U("panel")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, U("")));
    EXPECT_FALSE(CMorvaXEditorCtrl::IsInElementList(search, nullptr));
}

TEST_F(ControlSettingsTest, CustomElementSettersKeepRawTextAndRebuildSearchCopy)
{
    control->SetCustomBlockElements(U(" note , aside "));
    control->SetCustomEmptyElements(U("marker"));
    control->SetCustomInlineElements(U("term"));
    EXPECT_EQ(Utf8(control->CustomBlockElements), " note , aside ");
    EXPECT_EQ(Utf8(control->CustomBlockElementsSearch), ",note,aside,");
    EXPECT_EQ(Utf8(control->CustomEmptyElementsSearch), ",marker,");
    EXPECT_EQ(Utf8(control->CustomInlineElementsSearch), ",term,");

    control->SetCustomBlockElements(nullptr);
    EXPECT_TRUE(control->CustomBlockElements.IsEmpty());
    EXPECT_TRUE(control->CustomBlockElementsSearch.IsEmpty());

    control->SubdocumentTags = U("cms:teaser, cms:box");
    EXPECT_TRUE(control->IsSubdocumentTag(U("cms:box")));
    EXPECT_FALSE(control->IsSubdocumentTag(U("cms")));
}

TEST_F(ControlSettingsTest, PathMacrosReplaceOnlyTheFirstOccurrence)
{
    CSafeBuf text = U("%AppPath%/styles.xml %AppPath% %SystemDrive%/a %SystemDrive% %InstallPath%x %appPath%");
    control->ReplaceSystemDrive(text);
    EXPECT_EQ(Utf8(text), "file:///Applications/styles.xml %AppPath% /a %SystemDrive% "
                          "file:///Applicationsx %appPath%");
}

TEST_F(ControlSettingsTest, ProxyIsOnOnlyForManualSettingWithServer)
{
    control->ProxyServer = U("  proxy.local ");
    control->ProxyPort = 3128;
    control->ProxyUser = U("u");
    control->ProxyPassword = U("p");

    control->ProxySetting = 2;
    control->ProcessProxyInfo();
    EXPECT_TRUE(control->HttpUseProxy());
    CSafeBuf server, user, password;
    unsigned int port = 0;
    control->HttpProxy(server, port, user, password);
    EXPECT_EQ(Utf8(server), "proxy.local");
    EXPECT_EQ(port, 3128u);
    EXPECT_EQ(Utf8(user), "u");

    control->ProxySetting = 1;   // auto-detect alone never turns it on
    control->ProcessProxyInfo();
    EXPECT_FALSE(control->HttpUseProxy());

    control->ProxySetting = 2;
    control->ProxyServer = U("   ");
    control->ProcessProxyInfo();
    EXPECT_FALSE(control->HttpUseProxy());

    control->ProxySetting = 0;
    control->ProxyServer = U("proxy.local");
    control->ProcessProxyInfo();
    EXPECT_FALSE(control->HttpUseProxy());
}

TEST_F(ControlSettingsTest, HeaderRecordStartsWithUserAgentOnly)
{
    const ADDITIONAL_HTTP_HEADERS* h = control->HttpHeaders();
    ASSERT_NE(h, nullptr);
    std::string agent = Utf8(h->UserAgent);
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
    control->SetCookie(U(big));
    EXPECT_EQ(control->Cookie.Length(), 10000);   // the setting keeps it whole
    EXPECT_EQ(Utf8(control->Headers().Cookie), std::string(8191, 'c'));

    control->SetNewCookie(U("other=1"));          // only while no cookie is set
    EXPECT_EQ(control->Cookie.Length(), 10000);
    control->SetCookie(U(""));
    control->SetNewCookie(U("other=1"));
    EXPECT_EQ(Utf8(control->Headers().Cookie), "other=1");
}

TEST_F(ControlSettingsTest, IconLookupAndPlaceHolderChain)
{
    const unsigned char png[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    ASSERT_TRUE(control->AddIcon(U("form"), png, sizeof png));
    ASSERT_TRUE(control->AddIcon(U("form"), png, 2));   // a second of the same name is never found
    ASSERT_TRUE(control->AddIcon(U(std::string(60, 'n')), png, 1));

    int size = -1;
    unsigned char* stored = control->GetIconFromIcons(U("form"), &size, nullptr, nullptr);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(size, 7);
    EXPECT_EQ(control->GetIconFromIcons("form", &size, nullptr, nullptr), stored);
    EXPECT_EQ(control->GetIconFromIcons(U("Form"), &size, nullptr, nullptr), nullptr);
    EXPECT_EQ(size, 0);

    int copied = 0;
    unsigned char* copy = control->GetIconFromArray(U("form"), copied, true);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, stored);
    EXPECT_EQ(copied, 7);
    EXPECT_EQ(copy[1], 'P');
    delete[] copy;
    // Names are cut at 49 units.
    EXPECT_NE(control->GetIconFromArray(U(std::string(49, 'n')), copied, false), nullptr);

    PLACEHOLDERSSTRUCT* last = nullptr;
    control->AddPlaceHolderItem("joomla:readmore", "readmore", last);
    control->AddPlaceHolderItem(U("joomla:pagebreak"), U("pagebreak"), last);
    PLACEHOLDERSSTRUCT* head = control->GetPlaceHolders();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(Utf8(head->element), "joomla:readmore");
    EXPECT_EQ(head->iconIsName, 1);
    EXPECT_EQ(Utf8(static_cast<unsigned short*>(head->icon)), "readmore");
    ASSERT_EQ(head->next, last);
    EXPECT_EQ(Utf8(last->element), "joomla:pagebreak");

    control->RemoveIcons();
    EXPECT_EQ(control->GetIcons(), nullptr);
    control->ReleasePlaceHolders();
    EXPECT_EQ(control->GetPlaceHolders(), nullptr);
}

TEST_F(ControlSettingsTest, InterfaceTextsComeInlineOrThroughTheCache)
{
    control->Lang = U("en");
    control->SetLocalization(U("<localization><text><none>Nada</none></text></localization>"));
    EXPECT_EQ(Utf8(control->GetLangString().GetItem("text/none", "None")), "Nada");

    qmtest::LoopbackServer server;
    ASSERT_TRUE(server.Ok());
    server.Answer("/texts.xml", 200, "<localization><text><none>Keine</none></text></localization>");
    control->EnableCache = 1;
    control->SetLocalization(U("  " + server.Url("/texts.xml") + " "));
    EXPECT_EQ(Utf8(control->Localization), server.Url("/texts.xml"));
    EXPECT_EQ(Utf8(control->GetLangString().GetItem("text/none", "None")), "Keine");

    // The answer was stored under the cache name and is read from there now.
    CSafeBuf url = control->Localization, cacheFile;
    EXPECT_TRUE(control->GetCacheFile(url, cacheFile));
    server.Answer("/texts.xml", 200, "<localization><text><none>Changed</none></text></localization>");
    control->LoadInterfaceTexts();
    EXPECT_EQ(Utf8(control->GetLangString().GetItem("text/none", "None")), "Keine");
    EXPECT_EQ(server.Requests().size(), 1u);
}
