// The control's language, link relations, font list, document cache and
// missing-picture text, through its own operations.

#include "plugin/MorvaXEditorCtrl.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/ImageElement.h"
#include "net/AdditionalHeaders.h"
#include "platform/cg/Context.h"
#include "platform/cg/PngExport.h"
#include "platform/events/Services.h"
#include "platform/net/Http.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/OfflineNetwork.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <string>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

class ControlDocumentsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("documents-home-")));
        control = std::make_unique<CMorvaXEditorCtrl>();
    }

    qmtest::TempHome home;
    std::unique_ptr<CMorvaXEditorCtrl> control;
};

int Entries(unsigned short** list)
{
    int n = 0;
    while (list && list[n])
        ++n;
    return n;
}

std::string Names(unsigned short s)
{
    std::string names;
    for (int i = 0; i < s; ++i)
        names += "r" + std::to_string(i) + "  ";
    return names;
}

} // namespace

TEST_F(ControlDocumentsTest, SetLanguageOfBlanksGivesEnAndEmptyChangesNothing)
{
    control->SetLanguage(FromUtf8(" fr-CA "));
    EXPECT_EQ("fr-CA", ToUtf8(control->Lang));
    EXPECT_EQ("fr-CA", ToUtf8(control->m_pXHTML->m_doc.m_language));
    control->SetLanguage(FromUtf8(""));
    control->SetLanguage(nullptr);
    EXPECT_EQ("fr-CA", ToUtf8(control->Lang));
    control->SetLanguage(FromUtf8("   "));
    EXPECT_EQ("en", ToUtf8(control->Lang));
    EXPECT_EQ("en", ToUtf8(control->Headers().Language));
    control->SetLanguage(FromUtf8(std::string(30, 'z')));
    EXPECT_EQ(std::string(20, 'z'), ToUtf8(control->Headers().Language));
}

TEST_F(ControlDocumentsTest, RelationListsHoldTheNamesAfterAnEmptyEntryWithRoomFor99)
{
    struct Case
    {
        int names;
        int entries; // slots before the terminating null
    } cases[] = {{150, 151}, {3, 100}, {99, 100}, {100, 101}};
    for (const Case& c : cases) {
        control->LoadRel(FromUtf8(Names(static_cast<unsigned short>(c.names))), true);
        unsigned short** list = control->m_relList;
        ASSERT_NE(nullptr, list) << c.names;
        EXPECT_EQ("", ToUtf8(list[0])) << c.names;
        EXPECT_EQ("r0", ToUtf8(list[1])) << c.names;
        EXPECT_EQ("r" + std::to_string(c.names - 1), ToUtf8(list[c.names])) << c.names;
        EXPECT_EQ(c.entries, control->m_relListSize) << c.names;
        EXPECT_EQ(c.names + 1, Entries(list)) << c.names; // cleared slots after the names
    }
    control->LoadRel(FromUtf8(" \t "), false);
    EXPECT_EQ(nullptr, control->m_revList);
    control->LoadRel(FromUtf8("next prev"), false);
    EXPECT_EQ(3, Entries(control->m_revList));
    EXPECT_EQ(100, control->m_revListSize);
    control->ReleaseRel(false);
    EXPECT_EQ(nullptr, control->m_revList);
    EXPECT_EQ(0, control->m_revListSize);
}

TEST_F(ControlDocumentsTest, FontNamesAreCutAt49Units)
{
    const std::string longName(60, 'F');
    control->AppendFontInfo(longName.c_str(), 7);
    EXPECT_FALSE(control->DoesFontExist(FromUtf8(longName)));
    EXPECT_TRUE(control->DoesFontExist(FromUtf8(std::string(49, 'f'))));
    EXPECT_EQ(7, control->GetFontIDOrCharset(std::string(49, 'f').c_str()));
    EXPECT_EQ(0, control->GetFontIDOrCharset(longName.c_str()));

    control->LoadSystemFontInfo();
    EXPECT_FALSE(control->DoesFontExist(FromUtf8(std::string(49, 'f')))); // the list is rebuilt
    EXPECT_TRUE(control->DoesFontExist(FromUtf8("times new roman")));
    EXPECT_EQ(0, control->GetFontIDOrCharset("Times New Roman"));
    EXPECT_EQ(2, control->GetFontIDOrCharset("ARIAL"));
    ASSERT_NE(nullptr, control->m_pXHTML->m_doc.m_fontList); // the document's copy
    EXPECT_EQ("Times New Roman", ToUtf8(control->m_pXHTML->m_doc.m_fontList->name));
}

TEST_F(ControlDocumentsTest, WithoutEnableCacheDocumentsAreStoredButNeverReadBack)
{
    qmtest::LoopbackServer server;
    ASSERT_TRUE(server.Ok());
    server.Answer("/sheet.xsl", 200, "first");
    const CSafeBuf url = FromUtf8(server.Url("/sheet.xsl"));
    CSafeBuf location(url), cacheFile, text;
    control->GetCacheFile(location, cacheFile);
    ASSERT_FALSE(cacheFile.IsEmpty());

    control->EnableCache = 0;
    EXPECT_TRUE(control->LoadNamedDocument(url, text, nullptr, true));
    EXPECT_EQ("first", ToUtf8(text));
    EXPECT_TRUE(qmtest::Exists(ToUtf8(cacheFile))); // stored under its cache name
    server.Answer("/sheet.xsl", 200, "second");
    EXPECT_TRUE(control->LoadNamedDocument(url, text, nullptr, true));
    EXPECT_EQ("second", ToUtf8(text)); // never read back
    EXPECT_EQ(2u, server.Requests().size());

    control->EnableCache = 1;
    server.Answer("/sheet.xsl", 200, "third");
    EXPECT_TRUE(control->LoadNamedDocument(url, text, nullptr, true));
    EXPECT_EQ("second", ToUtf8(text)); // the cached copy
    EXPECT_EQ(2u, server.Requests().size());

    // A failed fetch leaves no stale copy to read later.
    control->EnableCache = 0;
    server.Answer("/sheet.xsl", 500, "");
    EXPECT_FALSE(control->LoadNamedDocument(url, text, nullptr, true));
    EXPECT_FALSE(qmtest::Exists(ToUtf8(cacheFile)));
}

namespace {

using qmtest::OfflineNetwork;

CElement* FindImage(CElement* e)
{
    if (e->m_kind == kKindImg)
        return e;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = FindImage(c))
            return found;
    }
    return nullptr;
}

// Dark pixels inside the box, its frame left out.
int InkInside(const qm::cg::Context& dc, const CRect& box)
{
    int ink = 0;
    for (int y = box.top + 2; y < box.bottom - 2; ++y) {
        for (int x = box.left + 2; x < box.right - 2; ++x) {
            const qm::cg::Pixel p = dc.ReadPixel(x, y);
            if (p.red < 128 && p.green < 128 && p.blue < 128)
                ++ink;
        }
    }
    return ink;
}

} // namespace

TEST_F(ControlDocumentsTest, AMissingPictureShowsTheLocalisedTextInItsFrame)
{
    EXPECT_EQ("image cannot be displayed", ToUtf8(control->m_pXHTML->m_missingPictureText));
    control->SetLocalization(
        FromUtf8("<localization><text><no-image>Bild fehlt</no-image></text></localization>"));
    EXPECT_EQ("Bild fehlt", ToUtf8(control->m_pXHTML->m_missingPictureText));
    control->SetLocalization(FromUtf8("")); // back to the built-in texts
    ASSERT_EQ("image cannot be displayed", ToUtf8(control->m_pXHTML->m_missingPictureText));

    OfflineNetwork offline;
    CXHTML& engine = *control->m_pXHTML;
    engine.m_doc.m_baseURL = FromUtf8(QM_TEST_DATA_DIR "/images/");
    CMarkupDocument doc{&engine};
    const std::string markup = "<p><img src=\"missing.png\" style=\"width:120px;height:60px\" /></p>";
    CSafeBuf error;
    ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
    ASSERT_TRUE(
        doc.Body() && LayoutDocument(doc.Body(), 400) && RepaintDocument(doc.Body()) && doc.Body()->m_dc);
    auto* image = dynamic_cast<CImageElement*>(FindImage(doc.Body()));
    ASSERT_NE(nullptr, image);
    EXPECT_TRUE(image->m_paintedAsText);
    const CPoint at = DocumentPosition(image);
    const CRect box(at.x, at.y, at.x + image->Lay().m_sizeRect.right, at.y + image->Lay().m_sizeRect.bottom);
    const qm::cg::Context& dc = *doc.Body()->m_dc;
    const qm::cg::Pixel frame = dc.ReadPixel(box.left, (box.top + box.bottom) / 2);
    EXPECT_EQ(0, frame.red + frame.green + frame.blue); // the frame
    EXPECT_GT(InkInside(dc, box), 30);                  // the text
    EXPECT_TRUE(qm::cg::WritePNG(dc, 0, 0, 200, 100, qmtest::TestOutputPath("missing-picture-") + ".png"));

    // Without a text the frame stays empty.
    engine.m_missingPictureText.Empty();
    ASSERT_TRUE(RepaintDocument(doc.Body()));
    EXPECT_EQ(0, InkInside(*doc.Body()->m_dc, box));
}

TEST_F(ControlDocumentsTest, SettingTheStyleSheetsAndBaseReachesTheDocument)
{
    control->OnCreate(nullptr);
    CXHTML& engine = *control->m_pXHTML;
    ASSERT_TRUE(engine.LoadDocument(FromUtf8("<p>one</p>")));

    control->SetCSS(FromUtf8("  p { color: red }  "));
    EXPECT_EQ("p { color: red }", ToUtf8(control->CSS));
    EXPECT_NE(nullptr, engine.m_doc.m_workingRules);
    EXPECT_NE(nullptr, engine.m_doc.m_savedRules); // kept for the next load
    control->SetCSS(FromUtf8(""));
    EXPECT_EQ(nullptr, engine.m_doc.m_workingRules);
    EXPECT_EQ(nullptr, engine.m_doc.m_savedRules);

    control->SetEditorCSS(FromUtf8("p { margin: 0 }"));
    EXPECT_NE(nullptr, engine.m_doc.m_editorRules);
    control->SetEditorCSS(nullptr);
    EXPECT_EQ(nullptr, engine.m_doc.m_editorRules);

    control->SetBase(FromUtf8(" http://h/docs "));
    EXPECT_EQ("http://h/docs/", ToUtf8(control->Base));
    EXPECT_EQ("http://h/docs/", ToUtf8(engine.m_doc.m_baseURL));
    CSafeBuf markup;
    engine.GetSourceCode(markup, 2);
    EXPECT_NE(std::string::npos, ToUtf8(markup).find("one")); // written and loaded again
    control->SetBase(FromUtf8("http://h/"));
    EXPECT_EQ("http://h/", ToUtf8(control->Base));
}
