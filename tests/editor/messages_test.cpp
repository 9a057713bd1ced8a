// The engine's messages and small commands: the message box's English
// defaults and the bundled English texts that match them, the upload error
// report, the About item's text, the class and id rows of property pages,
// and resetting an image to its picture's size.

#include "tests/editor/support/EngineWithControl.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include "base/app/LangString.h"
#include "editor/EnglishTexts.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "property_dialogs/XPrpEditorDlg.h"

namespace {

using qmtest::EngineWithControl;

class Messages : public EngineWithControl
{
protected:
    // The texts of the message boxes shown since the start, in order.
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> out;
        for (const std::string& line : driver.log->Lines())
            if (line.rfind("dialog message", 0) == 0)
                out.push_back(line);
        return out;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(Messages, MessageBoxTitleAndTextHaveEnglishDefaults)
{
    engine->DisplayMessageBox("message-box/element-locked");
    EXPECT_EQ(driver.caption, "Operation failed");
    ASSERT_EQ(driver.texts.size(), 1u);
    EXPECT_EQ(driver.texts[0], "This element is locked and cannot be changed.");
    EXPECT_EQ(driver.labels, (std::vector<std::string>{"OK"}));

    engine->DisplayMessageBox(CSafeBuf("message-box/upload-exceeds-size-limit"));
    EXPECT_EQ(driver.caption, "Operation failed");
    EXPECT_EQ(driver.texts[0], "The file is larger than the size limit.");
}

TEST(EnglishTexts, TheBundledTextsAndTheCodesDefaultsAgree)
{
    const char* const keys[]
        = {"message-box/title-operation-failed", "message-box/button-ok", "message-box/element-locked",
            "message-box/cannot-insert-into-given-location", "message-box/upload-exceeds-size-limit",
            "message-box/upload-unsupported-type", "message-box/invalid-object-name",
            "message-box/upload-failed", "message-box/service-not-available", "message-box/save-failed",
            "message-box/download-failed", "message-box/subdoc-invalid", "common-dialog/title-common",
            "common-dialog/title-link", "common-dialog/title-image", "common-dialog/title-table"};
    // The bundled table answers a key it lacks with the key itself.
    CLangString bundled;
    bundled.LoadLocalDefault(qmtest::FromUtf8("en"));
    for (const char* key : keys) {
        const std::string code = qmtest::Utf8(EngineText(nullptr, key, "(none)"));
        EXPECT_NE("(none)", code) << key;
        EXPECT_EQ(qmtest::Utf8(bundled.GetItem(key, "(none)")), code) << key;
    }
    EXPECT_EQ("Operation failed", qmtest::Utf8(EngineText(nullptr, "message-box/title-operation-failed")));
    // A loaded table without the key gives the English text, not the key;
    // one that has it gives its own.
    CLangString page(qmtest::FromUtf8("<localization><attributes><table><cols>Spalten</cols></table>"
                                      "</attributes></localization>"),
        qmtest::FromUtf8("de"));
    EXPECT_EQ("Rows", qmtest::Utf8(EngineText(&page, "attributes/table/rows", "Rows")));
    EXPECT_EQ("Spalten", qmtest::Utf8(EngineText(&page, "attributes/table/cols", "Columns")));
    // Texts the control asks for with its own defaults.
    const std::pair<const char*, const char*> control[] = {
        {"text/no-image", "image cannot be displayed"},
        {"message-box/new-version", "Please update editor."},
    };
    for (const auto& c : control)
        EXPECT_EQ(qmtest::Utf8(bundled.GetItem(c.first, "(none)")), c.second) << c.first;
}

TEST_F(Messages, UploadErrorsShowOneBoxEachInTheirOrder)
{
    struct Case
    {
        int flags;
        std::vector<std::string> texts;
    };
    const std::string size = "The file is larger than the size limit.";
    const std::string type = "Files of this type cannot be uploaded.";
    const std::string place = "The content cannot be inserted at this location.";
    const std::string name = "The file name is not valid.";
    const Case cases[] = {
        {0, {}},
        {3, {size, type}},
        {12, {place, name}},
        {15, {size, type, place, name}},
        {48, {"This service is not available.", "The file could not be uploaded."}},
        {64, {}},
    };
    for (const Case& c : cases) {
        driver.log->Clear();
        EXPECT_EQ(CXHTML::DisplayUploadErrorMsg(engine.get(), c.flags), !c.texts.empty()) << c.flags;
        const std::vector<std::string> shown = Shown();
        ASSERT_EQ(shown.size(), c.texts.size()) << c.flags;
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_NE(shown[i].find("\"" + c.texts[i] + "\""), std::string::npos)
                << c.flags << ": " << shown[i];
    }
}

TEST_F(Messages, AboutTextFollowsTheLanguage)
{
    const std::pair<const char*, const char*> cases[] = {{"de",
                                                             "\xC3\x9C"
                                                             "ber"},
        {"DE",
            "\xC3\x9C"
            "ber"},
        {"sv", "Om"}, {"it", "Informazioni sull'editor"}, {"jw", "About"}, {"en", "About"}, {"", "About"},
        {"sr", "\xD0\x9E\xD0\xBF\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD1\x83"}};
    for (const auto& c : cases) {
        engine->m_doc.m_language = c.first;
        CSafeBuf out("stale");
        engine->GetAboutText(out);
        EXPECT_EQ(qmtest::Utf8(out), c.second) << c.first;
    }
}

TEST_F(Messages, ClassRowListsEachFittingClassOnce)
{
    ASSERT_TRUE(engine->LoadDocument(CSafeBuf("<html><head><style>.big { color: red } p.big { margin: 0 }"
                                              " .small { color: blue } span.x { color: green }</style></head>"
                                              "<body><p class=\"small\" id=\"p1\">text</p></body></html>")));
    CElement* p = engine->m_doc.m_root->m_firstChild;
    ASSERT_NE(p, nullptr);

    CXPrpEditorDlg none;
    engine->AddClassPrp(&none, p);
    EXPECT_TRUE(none.Rows().empty()) << "nothing without option bit 512";

    control->Options = 512 | 131072 | 262144;
    CXPrpEditorDlg page;
    engine->AddClassPrp(&page, p);
    ASSERT_EQ(page.Rows().size(), 2u);
    const CXPrpEditorDlg::Row& classes = page.Rows()[0];
    EXPECT_EQ(classes.attribute, "class");
    EXPECT_EQ(classes.kind, CXPrpEditorDlg::kEditableList);
    EXPECT_EQ(qmtest::Utf8(classes.value), "small");
    std::vector<std::string> offered;
    for (const CSafeBuf& o : classes.options)
        offered.push_back(qmtest::Utf8(o));
    EXPECT_EQ(offered, (std::vector<std::string>{"", "big", "small"}));
    EXPECT_EQ(page.Rows()[1].attribute, "id");
    EXPECT_EQ(qmtest::Utf8(page.Rows()[1].value), "p1");
}

} // namespace

namespace {

TEST_F(Messages, PopupResetGivesAnImageItsPicturesOwnSize)
{
    engine->m_doc.m_baseURL = qmtest::FromUtf8(QM_TEST_DATA_DIR "/images/");
    ASSERT_TRUE(engine->LoadDocument(CSafeBuf("<p>x<img src=\"icon-a.png\" width=\"50\" height=\"7\" />"
                                              "<img src=\"missing.png\" width=\"5\" /></p>")));
    CElement* p = engine->m_doc.m_root->m_firstChild;
    ASSERT_NE(p, nullptr);
    std::vector<CElement*> images;
    for (CElement* c = p->m_firstChild; c; c = c->m_nextSibling)
        if (c->IsType(kKindImg))
            images.push_back(c);
    ASSERT_EQ(images.size(), 2u);

    // The paragraph, and an image whose picture did not load, keep their sizes.
    for (CElement* target : {p, images[1]}) {
        engine->m_menuElement = target;
        engine->PostMessage(1, 32868, 0);
    }
    engine->m_menuElement = images[0];
    engine->PostMessage(1, 32868, 0);
    CSafeBuf out;
    engine->GetSourceCode(out, 2 | 4);
    EXPECT_EQ(qmtest::Utf8(out),
        "<p>x<img height=\"10\" src=\"icon-a.png\" width=\"10\" /><img src=\"missing.png\" width=\"5\" "
        "/></p>");
}

} // namespace
