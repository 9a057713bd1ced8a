// The style drop-list: lists built from Styles texts (cases in
// tests/data/plugin/style_lists.txt), and, on a control started through the
// entry points, the items' marks and current row shown in the style box,
// the script methods over the list and its reloads.

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/StyleDocument.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using qmtest::FromUtf8;
using qmtest::Utf8;

namespace {

std::string Text(const unsigned short* text) { return Utf8(CSafeBuf(text)); }

std::string DumpList(CMorvaXEditorCtrl& control)
{
    std::string out;
    for (const STYLE_BAR_ITEM* item = control.m_styleItems; item; item = item->next) {
        out += std::to_string(item->index) + " " + std::to_string(item->commandId);
        const std::pair<const char*, const unsigned short*> fields[] = {{"g", item->group},
            {"l", item->label}, {"e", item->element}, {"id", item->id}, {"d", item->description}};
        for (const auto& field : fields)
            if (field.second[0])
                out += std::string(" ") + field.first + "=" + Text(field.second);
        std::string attributes;
        for (const ATTRIBUTE_ITEM* a = item->attributes; a; a = a->next)
            attributes += (attributes.empty() ? "" : ";") + Text(a->name) + "=" + Text(a->value);
        if (!attributes.empty())
            out += " a=" + attributes;
        out += "\n";
    }
    return out + "count " + std::to_string(control.StyleGetCount()) + "\n";
}

TEST(StyleListTest, StylesTextsBuildTheirLists)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("style-list-home-")));
    auto control = std::make_unique<CMorvaXEditorCtrl>();
    qmtest::CaseBlockFile file("plugin/style_lists.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string lang = "en";
        for (const std::string& option : c.options)
            if (option.rfind("lang=", 0) == 0)
                lang = option.substr(5);
        control->Lang = FromUtf8(lang);
        control->SetCustomization(FromUtf8(c.input));
        file.Check(c, DumpList(*control));
        EXPECT_EQ(control->m_styleItems, control->m_pXHTML->m_styleItems) << c.name;
    }
}

TEST(StyleListTest, ApplyStyleXMLDocumentsAreRead)
{
    const std::string longName(60, 'n');
    const struct
    {
        std::string xml;
        const char* read; // element | attributes in order | class; "refused"
    } cases[] = {
        {"<style><elt> span </elt><attr><name>class</name><value>a</value></attr>"
         "<attr><name>title</name><value> t </value></attr></style>",
            "span|class=a;title=t|a"},
        {"<style><elt>p</elt><attr><name>id</name></attr><attr><name> </name><value>v</value></attr></style>",
            "p||"},
        {"<style><elt>" + longName + "</elt><attr><name>" + longName
                + "</name><value>x</value></attr></style>",
            nullptr},
        {"<style><elt> </elt></style>", "refused"},
        {"<style><attr><name>class</name><value>a</value></attr></style>", "refused"},
        {"<style><elt>p</elt>", "refused"},
        {"", "refused"},
        // Attributes count only directly under a root "style".
        {"<other><elt>b</elt><attr><name>class</name><value>a</value></attr></other>", "b||"},
    };
    for (const auto& c : cases) {
        CSafeBuf element, cls;
        ATTRIBUTE_ITEM* attributes = nullptr;
        std::string read = "refused";
        if (ReadStyleXML(FromUtf8(c.xml), element, attributes, cls)) {
            read = Utf8(element) + "|";
            for (const ATTRIBUTE_ITEM* a = attributes; a; a = a->next)
                read += (a == attributes ? "" : ";") + Text(a->name) + "=" + Text(a->value);
            read += "|" + Utf8(cls);
        }
        FreeAttributeItems(attributes);
        // The element is kept whole here; the item made of it cuts it.
        const std::string expected = c.read ? c.read : longName + "|" + longName.substr(0, 50) + "=x|";
        EXPECT_EQ(expected, read) << c.xml;
    }
}

const char kStyles[] = "<styles><group><label>Headings</label>"
                       "<style><name>One</name><elt>h1</elt><id>a</id></style>"
                       "<style><name>Two</name><elt>h2</elt><id>b</id></style></group>"
                       "<style><name>Plain</name><elt>p</elt><id>c</id></style>"
                       "<style><name>Nameless</name><elt>pre</elt></style></styles>";

class StyleBoxTest : public qmtest::ControlInstanceTest
{
protected:
    StyleBoxTest() : ControlInstanceTest("style-box-home-") { }

    CMorvaXEditorCtrl* StartWithStyles()
    {
        CMorvaXEditorCtrl* c = Start({{"Styles", kStyles}, {"Value", "<p>text</p>"}});
        EXPECT_NE(nullptr, c->GetStyleBox());
        return c;
    }

    std::string BoxText() { return Text(Control()->GetStyleBox()->buttons->label); }

    std::string CurrentStyles()
    {
        unsigned short* ids = Control()->CurrentStyles();
        const std::string out = ids ? Text(ids) : "";
        delete[] ids;
        return out;
    }
};

TEST_F(StyleBoxTest, TheCurrentRowIsShownWithItsGroup)
{
    CMorvaXEditorCtrl* c = StartWithStyles();
    const struct
    {
        int row;
        int selected;
        const char* box;
    } cases[] = {
        {2, 2, "Headings: One"},
        {5, 5, "Plain"},
        {0, 0, "None"},
        {4, -1, ""}, // the separator row holds no item
        {3, 3, "Headings: Two"},
        {-1, -1, ""},
    };
    for (const auto& step : cases) {
        c->StyleSetCurSel(step.row);
        EXPECT_EQ(step.selected, c->StyleGetCurSel()) << step.row;
        EXPECT_EQ(step.box, BoxText()) << step.row;
    }
    int selected = 0;
    for (const STYLE_BAR_ITEM* item = c->m_styleItems; item; item = item->next)
        selected += (item->flags & kStyleItemSelected) ? 1 : 0;
    EXPECT_EQ(0, selected);
}

TEST_F(StyleBoxTest, MarksGiveTheCurrentStylesInListOrder)
{
    CMorvaXEditorCtrl* c = StartWithStyles();
    EXPECT_EQ("", CurrentStyles());
    c->StyleSetItemMark(5, 0);
    c->StyleSetItemMark(2, 0);
    c->StyleSetItemMark(6, 0); // no id: not listed
    EXPECT_EQ("a,c", CurrentStyles());
    EXPECT_TRUE(c->StyleIsTagChecked(2));
    EXPECT_FALSE(c->StyleIsTagChecked(3));
    c->StyleSwitchToFirstItem();
    EXPECT_EQ(2, c->StyleGetCurSel());
    c->StyleSetItemMark(2, 1);
    EXPECT_EQ("c", CurrentStyles());
    c->StyleRemoveMarks();
    EXPECT_EQ("", CurrentStyles());
    c->StyleSetCurSel(3);
    c->StyleSwitchToFirstItem(); // nothing marked: the row stays
    EXPECT_EQ(3, c->StyleGetCurSel());
}

TEST_F(StyleBoxTest, ApplyStyleIDPassesTheItemsRow)
{
    CMorvaXEditorCtrl* c = StartWithStyles();
    for (const char* unknown : {"", "zz", "a,c"}) {
        c->ApplyStyleID(FromUtf8(unknown));
        EXPECT_EQ(-1, c->StyleGetCurSel()) << unknown;
    }
    c->ApplyStyleID(FromUtf8("C"));
    EXPECT_EQ(5, c->StyleGetCurSel());
    c->ApplyStyleID(FromUtf8("b"));
    EXPECT_EQ(3, c->StyleGetCurSel());
    c->ApplyStyleID(nullptr);
    EXPECT_EQ(3, c->StyleGetCurSel());
}

TEST_F(StyleBoxTest, CommandIdsRunOnFromTheItemsToTheBox)
{
    CMorvaXEditorCtrl* c = StartWithStyles();
    unsigned int expected = kFirstStyleCommandId;
    for (const STYLE_BAR_ITEM* item = c->m_styleItems; item; item = item->next)
        EXPECT_EQ(expected++, item->commandId);
    EXPECT_EQ(expected, c->GetStyleBox()->buttons->EditorCommandID);
}

TEST_F(StyleBoxTest, TheLanguageAndStylesSettersReloadTheList)
{
    CMorvaXEditorCtrl* c = Start({{"Styles",
        "<styles><group><label xml:lang=\"en\">Headings</label><label xml:lang=\"de\">Titel</label>"
        "<style><name>h</name><elt>h1</elt></style></group></styles>"}});
    EXPECT_EQ("Headings", Text(c->m_styleItems->next->group));
    c->StyleSetCurSel(2);
    EXPECT_EQ("Headings: h", BoxText());
    c->SetLanguage(FromUtf8("de"));
    EXPECT_EQ("Titel", Text(c->m_styleItems->next->group));
    EXPECT_EQ(c->m_styleItems, c->m_pXHTML->m_styleItems);
    EXPECT_EQ("", BoxText()) << "the box shows nothing of the old list";
    c->SetCustomization(FromUtf8("<styles><style><name>x</name><elt>p</elt><id>x</id></style></styles>"));
    EXPECT_EQ(2, c->StyleGetCount());
    EXPECT_EQ(c->m_styleItems, c->m_pXHTML->m_styleItems);
}

TEST_F(StyleBoxTest, NothingOutsideTheWysiwygView)
{
    CMorvaXEditorCtrl* c = StartWithStyles();
    c->StyleSetItemMark(2, 0);
    c->m_viewMode = 1;
    EXPECT_EQ("", CurrentStyles());
    c->ApplyStyleID(FromUtf8("a"));
    EXPECT_EQ(-1, c->StyleGetCurSel());
    c->m_viewMode = 0;
    EXPECT_EQ("a", CurrentStyles());
}

TEST_F(StyleBoxTest, ScriptReadsTheCurrentStyles)
{
    CMorvaXEditorCtrl* c = StartWithStyles();
    for (const auto& [row, expected] : {std::pair<int, std::string>{-1, ""}, {2, "a"}, {5, "a,c"}}) {
        if (row >= 0)
            c->StyleSetItemMark(row, 0);
        NPVariant result;
        qm::np::SetVoid(result);
        ASSERT_TRUE(
            c->Mozilla_Invoke(qm::host::Browser::GetStringIdentifier("CurrentStyles"), nullptr, 0, &result));
        ASSERT_EQ(NPVariantType_String, result.type);
        EXPECT_EQ(expected,
            std::string(result.value.stringValue.UTF8Characters, result.value.stringValue.UTF8Length));
        qm::host::Browser::ReleaseVariantValue(&result);
    }
}

} // namespace

// The page applies an ungrouped heading style by its id: the caret's
// paragraph becomes that heading and the page reads the style back.
TEST_F(StyleBoxTest, ApplyStyleIDChangesTheCaretsBlockAndCurrentStylesNamesIt)
{
    CMorvaXEditorCtrl* c
        = Start({{"Styles",
                     "<styles><style><name>Paragraph</name><elt>p</elt><id>p</id></style>"
                     "<style><name>Heading 2</name><elt>h2</elt><id>h2</id></style></styles>"},
            {"Value", "<p>text</p><p>more</p>"}});
    ASSERT_NE(nullptr, c);
    c->ApplyStyleID(FromUtf8("h2"));
    EXPECT_EQ("<h2>text</h2><p>more</p>", FormValue());
    EXPECT_EQ("h2", CurrentStyles());
}
