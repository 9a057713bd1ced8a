// The toolbar's definitions: bars built from toolbar strings (cases in
// tests/data/toolbar/strings.txt), the definition list, the icon set and
// the Buttons setting as page script reads it.

#include "plugin/ImageList.h"
#include "plugin/MorvaXEditorCtrl.h"

#include "base/files/BundleResources.h"
#include "base/files/UserFolders.h"
#include "platform/cg/Image.h"
#include "platform/events/Services.h"
#include "platform/net/Http.h"
#include "style/Image.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

using qmtest::FromUtf8;
using qmtest::Utf8;

namespace {

// Answers every request with the body given for its address (404 for any
// other) and records the addresses asked for.
class RecordingNetwork : public qm::net::NetworkDriver
{
public:
    RecordingNetwork() { qm::events::Services::Get().SetNetwork(this); }
    ~RecordingNetwork() override { qm::events::Services::Get().SetNetwork(nullptr); }
    qm::net::HttpResponse Send(const qm::net::HttpRequest& request) override
    {
        requests.push_back(request.url);
        qm::net::HttpResponse reply;
        auto it = bodies.find(request.url);
        if (it != bodies.end()) {
            reply.status = 200;
            reply.body = it->second;
        }
        return reply;
    }
    std::map<std::string, std::string> bodies;
    std::vector<std::string> requests;
};

// A picture's pixels as text, to tell pictures apart.
std::string Pixels(const CImage* image)
{
    if (!image || !image->GetImage())
        return std::string();
    cairo_surface_t* surface = image->GetImage()->Surface();
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    return std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(stride * image->GetHeight()));
}

class ControlToolbarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("toolbar-home-")));
        control = new CMorvaXEditorCtrl();
        control->LoadIcons();
        ASSERT_NE(control->GetIcons(), nullptr);
        // The pictures a button may show, by name.
        for (ICON_ITEM* icon = control->GetIcons(); icon; icon = icon->next) {
            CImage image;
            image.LoadPictureMemory(reinterpret_cast<const char*>(icon->data), icon->size);
            known[Pixels(&image)] = Utf8(icon->name);
        }
        for (const char* name : {"nodef", "noimage"}) {
            CSafeBuf path;
            GetResourcePath(path, (std::string(name) + ".gif").c_str());
            CImage image;
            ASSERT_TRUE(image.LoadPictureFile(path));
            known[Pixels(&image)] = name;
        }
    }
    void TearDown() override
    {
        delete control;
        SetUserTempFolder(nullptr);
        SetUserCacheFolder(nullptr);
    }

    std::string PictureName(const CImage* image)
    {
        if (!image || !image->GetImage())
            return "none";
        auto it = known.find(Pixels(image));
        if (it != known.end())
            return it->second;
        return std::to_string(image->GetWidth()) + "x" + std::to_string(image->GetHeight());
    }

    std::string DumpBars()
    {
        std::ostringstream out;
        void* pos = control->m_toolBars.GetHeadPosition();
        while (pos) {
            auto* bar = static_cast<ToolBarStruct*>(control->m_toolBars.GetNext(pos));
            out << "bar" << (bar->newRow ? " new-row" : "") << "\n";
            int pictures = 0;
            for (ButtonInfo* b = bar->buttons; b; b = b->next) {
                out << "  " << b->EditorCommandID << " ";
                if (b->kind == kButtonKindGap) {
                    out << "gap\n";
                    continue;
                }
                ++pictures;
                out << Utf8(b->textId) << " kind " << b->kind << (b->toggle ? " toggle" : "") << " tip \""
                    << Utf8(b->tooltip) << "\" picture " << PictureName(bar->images->GetImage(b->imageIndex))
                    << "\n";
            }
            EXPECT_EQ(pictures, bar->images->GetImageCount());
        }
        std::string text = out.str();
        if (!text.empty())
            text.pop_back();
        return text;
    }

    qmtest::TempHome home;
    CMorvaXEditorCtrl* control = nullptr;
    std::map<std::string, std::string> known;
};

TEST_F(ControlToolbarTest, ToolbarStrings)
{
    qmtest::CaseBlockFile file("toolbar/strings.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        RecordingNetwork network;
        std::istringstream lines(c.input);
        std::string line, toolbar, buttons;
        while (std::getline(lines, line)) {
            if (line.rfind("toolbar:", 0) == 0)
                toolbar = line.substr(8);
            else if (line.rfind("buttons:", 0) == 0)
                buttons = line.substr(8);
        }
        control->ToolbarWysiwyg = FromUtf8(toolbar);
        control->Buttons = FromUtf8(buttons);
        control->LoadToolBarFromString();
        file.Check(c, DumpBars());
        // The bundle's definitions and inline ones are read without a request.
        EXPECT_TRUE(network.requests.empty()) << c.name;
    }
}

TEST_F(ControlToolbarTest, EachViewHasItsOwnStringAndIdsStartAgain)
{
    control->ToolbarSource = FromUtf8("validate");
    control->m_viewMode = 1;
    control->LoadToolBarFromString();
    EXPECT_EQ("bar\n  36000 validate kind 35 tip \"Check the markup\" picture validate", DumpBars());
    control->LoadToolBarFromString();
    EXPECT_EQ(1, control->m_toolBars.GetCount());
    control->m_viewMode = 2;
    control->LoadToolBarFromString();
    EXPECT_EQ(
        36003u, static_cast<ToolBarStruct*>(control->m_toolBars.GetHead())->lastButton->EditorCommandID);
    EXPECT_EQ(0, control->ReleaseToolBar());
}

TEST_F(ControlToolbarTest, TheDefinitionListReadsEveryDefinition)
{
    control->Buttons = FromUtf8("<buttons>"
                                "<style><id>em</id><elt> em </elt><a><name>class</name><value> x </value></a>"
                                "<b><name></name><value>y</value></b><c><name>title</name></c></style>"
                                "<snippet><id>s</id><value>&lt;hr/&gt;</value></snippet>"
                                "<window><id>w</id><url> http://h/ </url></window>"
                                "<button><id>b</id><toggle>yes</toggle></button>"
                                "<command><id>numbering</id></command>"
                                "<command><id>x</id></command></buttons>");
    EXPECT_EQ(1, control->LoadAllButtonInfo());
    std::vector<std::string> seen;
    for (ButtonInfo* b = control->m_buttonInfo; b; b = b->next) {
        std::string line = Utf8(b->textId) + " " + std::to_string(b->kind) + (b->toggle ? " toggle" : "");
        if (b->text)
            line += " [" + Utf8(b->text) + "]";
        if (b->styleTarget) {
            line += " <" + Utf8(b->styleTarget->element);
            for (ATTRIBUTE_ITEM* a = b->styleTarget->attributes; a; a = a->next)
                line += " " + Utf8(a->name) + "=" + Utf8(a->value);
            line += ">";
        }
        seen.push_back(line);
    }
    EXPECT_EQ(std::vector<std::string>({"em 3 <em class=x title=>", "s 4 [<hr/>]", "w 5 [http://h/]",
                  "b 2 toggle", "ordered-list 7 toggle", "x 0"}),
        seen);
    control->ReleaseButtonInfo();
    EXPECT_EQ(nullptr, control->m_buttonInfo);
}

TEST_F(ControlToolbarTest, ANamedDocumentIsFetchedAndAFailedOneFallsBackToTheBundle)
{
    RecordingNetwork network;
    network.bodies["http://defs.test/b.xml"]
        = "<buttons><button><id>cut</id><tooltip>Fetched</tooltip></button></buttons>";
    control->ToolbarWysiwyg = FromUtf8("cut");
    control->Buttons = FromUtf8("http://defs.test/b.xml");
    control->LoadToolBarFromString();
    EXPECT_EQ("bar\n  36000 cut kind 2 tip \"Fetched\" picture noimage", DumpBars());
    EXPECT_EQ(std::vector<std::string>({"http://defs.test/b.xml"}), network.requests);

    control->Buttons = FromUtf8("http://defs.test/missing.xml");
    control->LoadToolBarFromString();
    EXPECT_EQ("bar\n  36000 cut kind 20 tip \"Cut\" picture cut", DumpBars());
}

TEST_F(ControlToolbarTest, IconsFromANamedDocumentThatCannotBeHadLeaveNoIcons)
{
    RecordingNetwork network;
    control->SetIcons(FromUtf8("http://defs.test/icons.xml"));
    EXPECT_EQ(nullptr, control->GetIcons());
    control->SetIcons(
        FromUtf8("<icons><icon><id>a</id><small>4142</small></icon>"
                 "<icon><id>b</id><small></small><graphic>4</graphic></icon>"
                 "<icon><id></id><small>4142</small></icon>"
                 "<g><icon><id>c</id><large>4142</large><graphic> 4344 </graphic></icon></g></icons>"));
    std::vector<std::string> names;
    for (ICON_ITEM* icon = control->GetIcons(); icon; icon = icon->next)
        names.push_back(
            Utf8(icon->name) + ":" + std::string(reinterpret_cast<char*>(icon->data), icon->size));
    // "b" decodes to no bytes; a nameless icon is skipped; nesting is no matter.
    EXPECT_EQ(std::vector<std::string>({"a:AB", "c:CD"}), names);
}

TEST_F(ControlToolbarTest, ButtonsReadsBackAsThePageGaveIt)
{
    CSafeBuf out;
    control->Buttons = FromUtf8("  <buttons><button><id>b</id></button></buttons>");
    control->GetButtons(out);
    EXPECT_EQ("  <buttons><button><id>b</id></button></buttons>", Utf8(out));

    control->Buttons = FromUtf8("file:///etc/passwd");
    control->GetButtons(out);
    EXPECT_EQ("file:///etc/passwd", Utf8(out));

    control->Buttons.Empty();
    control->GetButtons(out);
    EXPECT_NE(out.Find("<buttons>"), -1);
    EXPECT_NE(out.Find("<id>ordered-list</id>"), -1);
}

} // namespace
