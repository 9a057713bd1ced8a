// Place-holder definitions: the lists built from Placeholders texts (cases
// in tests/data/plugin/placeholders.txt), loaded again when the script
// property is set, and the picture an element then shows.

#include "editor/XHTML.h"
#include "elements/CustomElement.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using qmtest::FromUtf8;
using qmtest::Utf8;

namespace {

std::string Text(const unsigned short* text) { return Utf8(CSafeBuf(text)); }

std::string DumpDefinitions(const CMorvaXEditorCtrl& control)
{
    std::string out;
    for (const PLACEHOLDERSSTRUCT* p = control.GetPlaceHolders(); p; p = p->next) {
        out += Text(p->element);
        std::string conditions;
        for (const ATTRIBUTE_ITEM* a = p->attributes; a; a = a->next)
            conditions += (conditions.empty() ? "" : ",") + Text(a->name) + "=" + Text(a->value);
        if (!conditions.empty())
            out += "[" + conditions + "]";
        if (p->iconIsName)
            out += " name:" + Text(static_cast<const unsigned short*>(p->icon));
        else
            out += " bytes:" + std::to_string(p->iconSize);
        out += "\n";
    }
    return out;
}

TEST(PlaceHoldersTest, PlaceholdersTextsBuildTheirDefinitions)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("placeholders-home-")));
    auto control = std::make_unique<CMorvaXEditorCtrl>();
    qmtest::CaseBlockFile file("plugin/placeholders.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        control->SetPlaceHolders(FromUtf8(c.input));
        file.Check(c, DumpDefinitions(*control));
    }
}

class PlaceHolderControlTest : public qmtest::ControlInstanceTest
{
protected:
    PlaceHolderControlTest() : ControlInstanceTest("placeholder-control-home-") { }
};

std::string PictureBytes(const std::string& name)
{
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/images/" + name, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Hex(const std::string& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char b : bytes)
        hex += std::string{kDigits[b >> 4], kDigits[b & 15]};
    return hex;
}

int PictureWidth(const std::string& bytes)
{
    CImage picture;
    picture.LoadPictureMemory(bytes.data(), int(bytes.size()));
    return picture.GetWidth();
}

// Two definitions for one element, the first with a condition: an element
// meeting it shows the first picture, one without the attribute the second.
TEST_F(PlaceHolderControlTest, TheDefinitionsChooseAnElementsPicture)
{
    const std::string first = PictureBytes("icon-a.png");
    const std::string second = PictureBytes("icon-b.png");
    CMorvaXEditorCtrl* c = Start({{"Placeholders",
                                      "<placeholders><placeholder><elt>x-note</elt><icon>" + Hex(first)
                                          + "</icon><attr><name>kind</name><value>more</value></attr>"
                                            "</placeholder><placeholder><elt>x-note</elt><icon>"
                                          + Hex(second) + "</icon></placeholder></placeholders>"},
        {"Value", "<p>a<x-note kind=\"more\"></x-note>b<x-note></x-note>c</p>"}});
    const int widths[2] = {PictureWidth(first), PictureWidth(second)};
    ASSERT_TRUE(widths[0] > 0 && widths[0] != widths[1]);
    std::vector<int> shown;
    std::vector<CElement*> stack{c->m_pXHTML->m_doc.m_root};
    while (!stack.empty()) {
        CElement* e = stack.back();
        stack.pop_back();
        if (auto* custom = dynamic_cast<CCustomElement*>(e)) {
            EXPECT_TRUE(custom->ShowsIcon() && custom->m_iconFromDefinitions);
            shown.push_back(custom->m_iconWidth);
        }
        std::vector<CElement*> children;
        for (CElement* child = e->m_firstChild; child; child = child->m_nextSibling)
            children.push_back(child);
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    EXPECT_EQ((std::vector<int>{widths[0], widths[1]}), shown);
}

TEST_F(PlaceHolderControlTest, TheIconSetHoldsTheBuiltInPictures)
{
    CMorvaXEditorCtrl* c = Start({});
    for (const char* name : {"readmore", "pagebreak", "image"}) {
        int size = 0;
        EXPECT_NE(nullptr, c->GetIconFromIcons(name, &size, nullptr, nullptr)) << name;
        EXPECT_GT(size, 0) << name;
    }
    EXPECT_EQ("joomla:readmore", Text(c->GetPlaceHolders()->next->next->next->element))
        << "OnCreate loads the definitions";
}

} // namespace
