// Saving the file behind an element: the name the put-file dialog offers
// (its own name for a picture with a picture's extension, "Image." and the
// type its bytes show otherwise), the file fetched from a loopback server
// and copied where the user chose, and the failures the user is shown.

#include "tests/editor/support/EngineWithControl.h"

#include "tests/common/CraftedPictures.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/net/support/LoopbackServer.h"

#include "element/Element.h"
#include "element/ElementKinds.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

using qmtest::EngineWithControl;

std::string Png() { return qmtest::PngClaiming(4, 4); }

TEST(SuggestedFileName, PicturesKeepTheirNameOnlyWithAPicturesExtension)
{
    struct Case
    {
        const char* url;
        std::string bytes;
        bool picture;
        const char* name;
    };
    const Case cases[] = {
        {"http://h/pics/photo.JPG", "not read", true, "photo.JPG"},
        {"http://h/a/b/c.tiff?x=1#y", "", true, "c.tiff"},
        {"http://h/show.php?id=3", Png(), true, "Image.png"},
        {"http://h/pic", Png(), true, "Image.png"},
        {"http://h/pic", "unknown bytes here", true, "pic"},
        {"http://h/", "", true, "Image"},
        {"http://h/a%2F..%2Fb.gif", "", true, "a_.._b.gif"},
        {"http://h/..", "", true, "Image"},
        {"http://h/doc.pdf?download=1", Png(), false, "doc.pdf"},
        {"http://h/files/", "", false, "File"},
        {"report%20final.txt", "", false, "report final.txt"},
    };
    for (const Case& c : cases) {
        CSafeBuf out;
        CXHTML::SuggestedFileName(CSafeBuf(c.url), reinterpret_cast<const unsigned char*>(c.bytes.data()),
            static_cast<long>(c.bytes.size()), c.picture, out);
        EXPECT_EQ(qmtest::Utf8(out), c.name) << c.url;
    }
}

class SaveLinkedFile : public EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        ASSERT_TRUE(server.Ok());
        ASSERT_TRUE(folder.Create(qmtest::TestOutputPath("save-linked-")));
    }

    // Loads a paragraph holding element markup and makes that element the
    // context element.
    void LoadWith(const std::string& markup, long kind)
    {
        ASSERT_TRUE(engine->LoadDocument(qmtest::FromUtf8(("<p>x" + markup + "</p>").c_str())));
        engine->m_menuElement = Find(engine->m_doc.m_root, kind);
        ASSERT_NE(engine->m_menuElement, nullptr);
    }

    static CElement* Find(CElement* e, long kind)
    {
        if (e->IsType(kind))
            return e;
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
            if (CElement* f = Find(c, kind))
                return f;
        return nullptr;
    }

    void SaveAs(const std::string& name)
    {
        qm::host::PutFileAnswer answer;
        answer.save = true;
        answer.folder = folder.Path();
        answer.fileName = name;
        driver.putFiles.push_back(answer);
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    qmtest::LoopbackServer server;
    qmtest::TempDir folder;
    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(SaveLinkedFile, PictureIsOfferedUnderItsNameOrItsTypeAndCopied)
{
    const std::string png = Png();
    server.Answer("/pics/photo.JPG", 200, "jpeg bytes");
    server.Answer("/image", 200, png);
    struct Case
    {
        const char* path;
        const char* offered;
        std::string bytes;
    };
    const Case cases[] = {{"/pics/photo.JPG", "photo.JPG", "jpeg bytes"}, {"/image", "Image.png", png}};
    for (const Case& c : cases) {
        LoadWith("<img src=\"" + server.Url(c.path) + "\" />", kKindImg);
        SaveAs("saved");
        engine->PostMessage(1, 32953, 0);
        EXPECT_EQ(driver.putRequest.proposedName, c.offered) << c.path;
        EXPECT_EQ(Read(folder.Path() + "/saved"), c.bytes) << c.path;
    }
}

TEST_F(SaveLinkedFile, AttachmentBehindALinkIsSavedAndARelativeAddressResolved)
{
    server.Answer("/files/report.pdf", 200, "%PDF report");
    LoadWith("<a href=\"report.pdf\">report</a>", kKindA);
    engine->m_menuElement = engine->m_menuElement->m_firstChild; // the link's text
    engine->m_doc.m_baseURL = qmtest::FromUtf8(server.Url("/files/index.html").c_str());
    SaveAs("copy.pdf");
    engine->PostMessage(1, 32956, 0);
    EXPECT_EQ(driver.putRequest.proposedName, "report.pdf");
    EXPECT_EQ(Read(folder.Path() + "/copy.pdf"), "%PDF report");
}

TEST_F(SaveLinkedFile, FailuresAreShownAndLeaveWhatWasThere)
{
    // Nothing to fetch: no put-file dialog, a message.
    server.Answer("/gone.png", 404, "");
    LoadWith("<img src=\"" + server.Url("/gone.png") + "\" />", kKindImg);
    engine->OnSaveAs();
    EXPECT_TRUE(driver.putRequest.proposedName.empty());
    ASSERT_FALSE(driver.texts.empty());
    EXPECT_EQ(driver.texts[0], "The file could not be downloaded.");

    // The chosen name is a folder: the copy fails, the folder and what it
    // holds stay, and the user is told.
    server.Answer("/ok.png", 200, "bytes");
    LoadWith("<img src=\"" + server.Url("/ok.png") + "\" />", kKindImg);
    const std::string taken = folder.Path() + "/taken";
    ASSERT_EQ(::mkdir(taken.c_str(), 0700), 0);
    std::ofstream(taken + "/keep") << "kept";
    SaveAs("taken");
    engine->OnSaveAs();
    EXPECT_EQ(driver.texts[0], "The file could not be saved.");
    EXPECT_EQ(Read(taken + "/keep"), "kept");

    // Cancelled: nothing is written and nothing shown.
    const int shown = driver.shown;
    engine->OnSaveAs();
    EXPECT_EQ(driver.shown, shown);
}

TEST_F(SaveLinkedFile, ElementWithoutAnAddressDoesNothing)
{
    LoadWith("<img src=\"\" />", kKindImg);
    engine->OnSaveAs();
    engine->OnSaveFile();
    EXPECT_EQ(driver.shown, 0);
    EXPECT_TRUE(driver.putRequest.proposedName.empty());
}

} // namespace
