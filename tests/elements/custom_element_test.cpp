// Custom elements: the icon chosen by the control's definitions (cases in
// tests/data/custom/icons.txt), the choice made again when attributes
// change, and a sub-document element whose load fails.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"
#include "elements/CustomElement.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "style/layout/LayoutPass.h"
#include "tests/common/CaseFile.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;
using qmtest::Utf8;

std::vector<unsigned char> PictureBytes(const std::string& name)
{
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/images/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

CCustomElement* FirstCustom(CElement* e)
{
    if (auto* custom = dynamic_cast<CCustomElement*>(e))
        return custom;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CCustomElement* found = FirstCustom(c))
            return found;
    }
    return nullptr;
}

class CustomElementTest : public qmtest::ScriptedUiTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("custom-home-")));
        control = std::make_unique<CMorvaXEditorCtrl>();
        for (const char* name : {"a", "b", "c"}) {
            const std::vector<unsigned char> bytes = PictureBytes(std::string("icon-") + name + ".png");
            ASSERT_TRUE(control->AddIcon(FromUtf8(name), bytes.data(), int(bytes.size())));
        }
        engine.m_control = control.get();
    }

    // One definition "tag[name=value,...]>picture" appended to the control's.
    void AddDefinition(const std::string& text, PLACEHOLDERSSTRUCT*& last)
    {
        const size_t arrow = text.find('>');
        ASSERT_NE(arrow, std::string::npos) << text;
        std::string tag = text.substr(0, arrow);
        const std::string picture = text.substr(arrow + 1);
        std::string conditions;
        if (const size_t open = tag.find('['); open != std::string::npos) {
            conditions = tag.substr(open + 1, tag.size() - open - 2);
            tag.erase(open);
        }
        const bool named = picture[0] == '@';
        control->AddPlaceHolderItem(tag.c_str(), named ? picture.c_str() + 1 : "-", last);
        ASSERT_NE(last, nullptr);
        ATTRIBUTE_ITEM** tail = &last->attributes;
        for (const std::string& condition :
            conditions.empty() ? std::vector<std::string>() : Split(conditions, ",")) {
            const size_t equals = condition.find('=');
            *tail = NewAttributeItem(
                FromUtf8(condition.substr(0, equals)), FromUtf8(condition.substr(equals + 1)));
            tail = &(*tail)->next;
        }
        if (!named) {
            const std::vector<unsigned char> bytes = PictureBytes(picture);
            delete[] static_cast<unsigned short*>(last->icon);
            auto* copy = new unsigned char[bytes.size()];
            std::copy(bytes.begin(), bytes.end(), copy);
            last->icon = copy;
            last->iconIsName = 0;
            last->iconSize = int(bytes.size());
        }
    }

    bool Read(const std::string& markup)
    {
        CSafeBuf error;
        return doc.Read(markup.data(), markup.size(), error) && doc.Body() && LayoutDocument(doc.Body(), 400);
    }

    // What the element shows, in the case file's words.
    static std::string Shown(const CCustomElement& e)
    {
        if (!e.ShowsIcon())
            return "content";
        const std::string size = std::to_string(e.m_iconWidth) + "x" + std::to_string(e.m_iconHeight);
        if (!e.m_iconFromDefinitions)
            return size == "20x20" ? "built-in" : "built-in of size " + size;
        for (const char* name : {"icon-a.png", "icon-b.png", "icon-c.png"}) {
            CImage picture;
            const std::vector<unsigned char> bytes = PictureBytes(name);
            picture.LoadPictureMemory(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()));
            if (picture.GetWidth() == e.m_iconWidth && picture.GetHeight() == e.m_iconHeight)
                return name;
        }
        return "an icon of size " + size;
    }

    qmtest::TempHome home;
    std::unique_ptr<CMorvaXEditorCtrl> control;
    CXHTML engine;
    CMarkupDocument doc{&engine};
};

} // namespace

TEST_F(CustomElementTest, IconChoiceCases)
{
    const auto cases = qmtest::ReadCaseFile("custom/icons.txt", 3);
    ASSERT_FALSE(cases.empty());
    for (const qmtest::CaseLine& c : cases) {
        const std::string where = "icons.txt line " + std::to_string(c.line);
        control->ReleasePlaceHolders();
        PLACEHOLDERSSTRUCT* last = nullptr;
        if (!c.fields[0].empty()) {
            for (const std::string& definition : Split(c.fields[0], " ; "))
                AddDefinition(definition, last);
        }
        ASSERT_TRUE(Read(c.fields[1])) << where;
        CCustomElement* e = FirstCustom(doc.Body());
        ASSERT_NE(e, nullptr) << where;
        EXPECT_EQ(Shown(*e), c.fields[2]) << where;
        if (e->ShowsIcon()) {
            EXPECT_EQ(e->Lay().m_sizeRect, CRect(0, 0, e->m_iconWidth, e->m_iconHeight)) << where;
        }
    }
}

TEST_F(CustomElementTest, TheIconIsChosenAgainWhenAnAttributeChanges)
{
    PLACEHOLDERSSTRUCT* last = nullptr;
    AddDefinition("x-note[kind=warn]>icon-b.png", last);
    ASSERT_TRUE(Read("<p><x-note /></p>"));
    CCustomElement* e = FirstCustom(doc.Body());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Shown(*e), "built-in");
    e->SetAttrString("kind", "warn"); // a new attribute counts as a change
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    EXPECT_EQ(Shown(*e), "icon-b.png");
    e->SetAttrString("kind", "info");
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    EXPECT_EQ(Shown(*e), "built-in");
}

TEST_F(CustomElementTest, AFailedSubDocumentLoadIsToldOnceAndTheCaretStaysLive)
{
    control->SubdocumentTags = FromUtf8("x-sub");
    control->SubdocumentURL = FromUtf8("http://127.0.0.1:9/ws"); // nothing listens there
    // Reading restyles the div, which asks for the content: the service
    // cannot be reached, the user is told, and the old content is gone.
    ASSERT_TRUE(Read("<div><x-sub id=\"a\">old <b>content</b></x-sub></div>"));
    CCustomElement* e = FirstCustom(doc.Body());
    ASSERT_TRUE(e && e->m_isSubDocument);
    EXPECT_EQ(driver.shown, 1);
    EXPECT_TRUE(e->m_subDocErrorShown);
    EXPECT_EQ(e->m_firstChild, nullptr);
    EXPECT_FALSE(e->m_locked);

    // Content the element holds again goes at the next style change, told
    // no more; the caret inside it moves to the element first.
    ASSERT_TRUE(e->InsertHTMLCodeToElement(FromUtf8("old <b>content</b>")));
    CElement* run = e->m_lastChild ? e->m_lastChild->m_firstChild : nullptr;
    ASSERT_TRUE(run && run->IsTextElement());
    CXDoc& d = engine.m_doc;
    d.m_caretElement = run;
    run->m_caretOffset = 3;
    d.ReleaseRemovedElements();
    doc.Body()->StyleChanged(0);
    e->StyleChanged(1);
    EXPECT_EQ(driver.shown, 1);
    EXPECT_EQ(e->m_firstChild, nullptr);
    EXPECT_EQ(d.m_caretElement, e);
    EXPECT_TRUE(d.IsElementExist(d.m_caretElement));
    EXPECT_EQ(e->m_caretOffset, 0);
    // The removed content waits on the removed list: a caller that still
    // held the run holds live memory until the document releases it.
    EXPECT_GE(d.m_removedList.GetCount(), 1);
    EXPECT_TRUE(d.IsElementExist(run));
    d.ReleaseRemovedElements();
    EXPECT_FALSE(d.IsElementExist(run));

    // Laid out again it is an icon, and written as it was read.
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    EXPECT_TRUE(e->ShowsIcon());
    CSafeBuf out, a, b, c;
    e->GetSourceCode(out, 0, 0, a, b, c, nullptr);
    EXPECT_EQ(Utf8(out), "<x-sub id=\"a\"></x-sub>");
}

TEST_F(CustomElementTest, ALockedElementIsWrittenEmptyWithItsAttributes)
{
    ASSERT_TRUE(Read("<div><x-sub id=\"a&amp;b\" title='say \"hi\"'><p>loaded</p></x-sub></div>"));
    CCustomElement* e = FirstCustom(doc.Body());
    ASSERT_NE(e, nullptr);
    e->m_locked = 1;
    CSafeBuf out, a, b, c;
    e->GetSourceCode(out, 1, kSourceIndent, a, b, c, nullptr);
    EXPECT_EQ(Utf8(out), "\t<x-sub id=\"a&amp;b\" title=\"say &quot;hi&quot;\" />\r\n");
    // The diagnostic form shows the content.
    e->GetSourceCode(out, 0, kSourceDiagnostic, a, b, c, nullptr);
    EXPECT_NE(Utf8(out).find("loaded"), std::string::npos);
}
