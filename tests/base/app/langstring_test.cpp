// Loading and looking up localised texts: keys from the document's element
// paths, look-ups ignoring case and white space, the key echoed once a load
// was attempted, the bundle's English fallback and loading through the
// owner's cache and fetcher.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <libxml/tree.h>

#include "base/app/LangString.h"
#include "base/text/SafeBuf.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/common/XmlDoc.h"

using qmtest::Exists;
using qmtest::FromUtf8;
using qmtest::ToUtf8;
using qmtest::XmlDoc;

namespace {

std::string Item(const CLangString& table, const char* key, const char* def = "default")
{
    return ToUtf8(table.GetItem(key, def));
}

const char kDoc[] = "<localization xmlns:q='urn:q'>"
                    "<message-box><title-failure>  Failure \n</title-failure>"
                    "<title-failure>Second</title-failure><button-ok>OK</button-ok></message-box>"
                    "<q:menu><q:cut>Cut</q:cut></q:menu>"
                    "<mixed>lead<inner>x</inner>tail</mixed>"
                    "<empty></empty><blank> </blank>"
                    "<?hint use sparingly ?>"
                    "</localization>";

class LangStringTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The bundle's resources folder, when the test is run outside ctest.
        if (!std::getenv("QM_RESOURCES_DIR"))
            resources.Set(QM_TEST_DATA_DIR "/../../resources");
    }
    void TearDown() override { SetLangStringLoader(nullptr); }

    qmtest::ScopedEnv resources{"QM_RESOURCES_DIR"};
};

} // namespace

TEST_F(LangStringTest, KeysFollowTheElementPathWithoutTheRoot)
{
    CLangString table(FromUtf8(kDoc), nullptr, nullptr, false);
    EXPECT_TRUE(table.IsLoaded());
    EXPECT_EQ("Failure", Item(table, "message-box/title-failure"));
    EXPECT_EQ("OK", Item(table, "message-box/button-ok"));
    EXPECT_EQ("Cut", Item(table, "q:menu/q:cut"));
    // One item per text node; an empty element adds nothing, a blank one an
    // empty text.
    EXPECT_EQ("lead", Item(table, "mixed"));
    EXPECT_EQ("x", Item(table, "mixed/inner"));
    EXPECT_EQ("", Item(table, "blank"));
    EXPECT_EQ("empty", Item(table, "empty"));
    // A processing instruction is an item of its name with an empty value:
    // its own content is not taken.
    EXPECT_EQ("", Item(table, "hint"));
    EXPECT_EQ("", Item(table, "hint", "unused"));
}

TEST_F(LangStringTest, ProcessingInstructionsAreItemsWithoutText)
{
    CLangString table(FromUtf8("<localization><menu><?note keep this out?><cut>Cut</cut></menu>"
                               "<?note second?></localization>"),
        nullptr, nullptr, false);
    ASSERT_TRUE(table.IsLoaded());
    EXPECT_EQ("", Item(table, "menu/note"));
    EXPECT_EQ("Cut", Item(table, "menu/cut"));
    EXPECT_EQ("", Item(table, "note"));
}

TEST_F(LangStringTest, LookupIgnoresCaseAndSurroundingWhiteSpaceAndTheFirstWins)
{
    CLangString table(FromUtf8(kDoc), nullptr, nullptr, false);
    EXPECT_EQ("Failure", Item(table, "MESSAGE-BOX/Title-Failure "));
    EXPECT_EQ("Failure", Item(table, "\t message-box/title-failure\r\n"));
    CSafeBuf out;
    table.GetItem(out, FromUtf8(" message-box/button-OK"), FromUtf8("def"));
    EXPECT_EQ("OK", ToUtf8(out));
}

TEST_F(LangStringTest, DefaultBeforeAnyLoadThenTheKeyAsGiven)
{
    CLangString table;
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_EQ("Failure!", Item(table, "message-box/title-failure", "Failure!"));
    EXPECT_EQ("", Item(table, nullptr, nullptr));

    // A failed load keeps nothing but still counts as a load.
    table.LoadLangString(FromUtf8("/no/such/localization.xml"), FromUtf8("en"), false);
    EXPECT_TRUE(table.IsLoaded());
    EXPECT_EQ(0, table.GetCount());
    EXPECT_EQ("Message-Box/Missing ", Item(table, "Message-Box/Missing ", "Default"));

    table.Reset();
    EXPECT_EQ("Default", Item(table, "message-box/missing", "Default"));
}

TEST_F(LangStringTest, AFailedLoadKeepsTheEarlierTexts)
{
    CLangString table(FromUtf8(kDoc), nullptr, nullptr, false);
    // Holds "<localization>" but is not well-formed: taken as a location.
    table.LoadLangString(FromUtf8("<localization><a>b</localization>"), nullptr, false);
    EXPECT_EQ("Failure", Item(table, "message-box/title-failure"));
    // A document without items replaces them.
    table.LoadLangString(FromUtf8("<localization><a>b</a></localization>"), nullptr, false);
    EXPECT_EQ("b", Item(table, "a"));
    EXPECT_EQ("message-box/title-failure", Item(table, "message-box/title-failure"));
}

TEST_F(LangStringTest, LanguageFilterKeepsOnlyTheWantedLanguage)
{
    const char* doc = "<localization><t xml:lang='de'>Fehler</t><t xml:lang='en'>Failure</t>"
                      "<u>Both</u></localization>";
    CLangString table(FromUtf8(doc), FromUtf8("en"), nullptr, false);
    EXPECT_EQ("Failure", Item(table, "t"));
    EXPECT_EQ("Both", Item(table, "u"));
    // The skip flag keeps both, the first one winning.
    CLangString unfiltered(FromUtf8(doc), FromUtf8("en"), nullptr, true);
    EXPECT_EQ("Fehler", Item(unfiltered, "t"));
    EXPECT_EQ(0, unfiltered.GetCodePage());
    CLangString chinese(FromUtf8(doc), FromUtf8("cn"), nullptr, true);
    EXPECT_EQ(936, chinese.GetCodePage());
}

TEST_F(LangStringTest, FilesAndFileUrlsAreRead)
{
    const std::string path = QM_TEST_DATA_DIR "/langstring/de.xml";
    CLangString table(FromUtf8(path.c_str()), nullptr, nullptr, false);
    EXPECT_EQ("Fehler", Item(table, "message-box/title-failure"));
    EXPECT_EQ("Gut \xE2\x88\x9A", Item(table, "message-box/button-ok"));

    CLangString viaUrl(FromUtf8(("file://" + path).c_str()), nullptr, nullptr, false);
    EXPECT_EQ("Fehler", Item(viaUrl, "message-box/title-failure"));
}

TEST_F(LangStringTest, BundleFallbackAnswersUntilATableIsLoaded)
{
    CLangString table;
    table.LoadLocalDefault(FromUtf8("en"));
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_EQ("Failure", Item(table, "message-box/title-failure", "Default"));
    // The fallback was loaded, so a key it lacks comes back as the key.
    EXPECT_EQ("message-box/not-there", Item(table, "message-box/not-there", "Default"));

    // A missing or unusable language keeps the fallback there is.
    table.LoadLocalDefault(FromUtf8("zz"));
    table.LoadLocalDefault(FromUtf8("../resources/en"));
    table.LoadLocalDefault(nullptr);
    EXPECT_EQ("Failure", Item(table, "message-box/title-failure", "Default"));

    // Once a table is loaded, its own answers count.
    table.LoadLangString(FromUtf8(QM_TEST_DATA_DIR "/langstring/de.xml"), nullptr, false);
    EXPECT_EQ("Fehler", Item(table, "message-box/title-failure"));
    EXPECT_EQ("message-box/fix", Item(table, "message-box/fix", "Fix"));
}

namespace {

std::string g_cacheFile;
std::string g_fetched;
int g_fetches = 0;

bool CacheHook(void*, CSafeBuf& location, CSafeBuf& cacheFile)
{
    cacheFile = FromUtf8(g_cacheFile.c_str());
    if (!Exists(g_cacheFile))
        return false;
    location = cacheFile;
    return true;
}

bool FetchHook(void*, const unsigned short*, CSafeBuf& localFile, const CSafeBuf& target)
{
    ++g_fetches;
    qmtest::WriteFile(ToUtf8(target), g_fetched);
    localFile = target;
    return true;
}

} // namespace

TEST_F(LangStringTest, LocationsGoThroughTheOwnersCacheAndFetcher)
{
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("langstring-")));
    g_cacheFile = scratch.Path() + "/cache.xml";
    g_fetches = 0;
    const LangStringLoader loader{CacheHook, FetchHook};
    SetLangStringLoader(&loader);
    int owner = 0;

    // Not cached: fetched into the cache file and read from there.
    g_fetched = "<localization><a>fetched</a></localization>";
    CLangString table(nullptr, nullptr, &owner, false);
    table.LoadLangString(FromUtf8("http://example.test/lang.xml"), nullptr, false);
    EXPECT_EQ(1, g_fetches);
    EXPECT_EQ("fetched", Item(table, "a"));

    // Cached: read without fetching.
    table.LoadLangString(FromUtf8("http://example.test/lang.xml"), nullptr, false);
    EXPECT_EQ(1, g_fetches);
    EXPECT_EQ("fetched", Item(table, "a"));

    // A fetched answer that does not parse is not left in the cache.
    std::remove(g_cacheFile.c_str());
    g_fetched = "<html>Not found";
    table.LoadLangString(FromUtf8("http://example.test/lang.xml"), nullptr, false);
    EXPECT_EQ(2, g_fetches);
    EXPECT_EQ("fetched", Item(table, "a"));
    EXPECT_FALSE(Exists(g_cacheFile));
}

TEST_F(LangStringTest, TagTreeOfATextNode)
{
    XmlDoc doc("<localization><message-box><title-failure>F</title-failure></message-box>"
               "<top>T</top>R</localization>");
    ASSERT_NE(nullptr, doc.doc);
    xmlNode* root = doc.Root();
    xmlNode* box = root->children;
    xmlNode* text = box->children->children;
    CSafeBuf path;
    CLangString::GetTagTree(text, path);
    EXPECT_EQ("message-box/title-failure", ToUtf8(path));
    CLangString::GetTagTree(box->next->children, path);
    EXPECT_EQ("top", ToUtf8(path));
    // A text right under the root answers the root's name.
    CLangString::GetTagTree(box->next->next, path);
    EXPECT_EQ("localization", ToUtf8(path));
}
