// Pasted markup naming local pictures, against a loopback library service:
// the pictures travel through the real CXMLHttp in Base64 packets, and the
// server's log shows what was sent.

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/net/support/LoopbackServer.h"

#include "base/codec/Base64.h"
#include "base/files/UserFolders.h"
#include "element/markup/SourceCode.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

using Answer = qm::host::DialogAnswer;

const char* const kStored = "http://library.test/stored/picture.png";

std::string Soap12(const std::string& body)
{
    return "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>"
        + body + "</s:Body></s:Envelope>";
}

std::string UploadAnswer()
{
    return Soap12(std::string("<doLibraryUploadResponse xmlns=\"urn:quillmark:webservice\"><url>") + kStored
        + "</url></doLibraryUploadResponse>");
}

std::string Fault()
{
    return Soap12("<s:Fault><s:Code><s:Value>s:Receiver</s:Value></s:Code><s:Reason><s:Text xml:lang=\"en\">"
                  "disk full</s:Text></s:Reason></s:Fault>");
}

// The text of the first <name> element of a request body.
std::string Field(const std::string& body, const std::string& name)
{
    const auto open = body.find("<" + name + ">");
    if (open == std::string::npos)
        return std::string();
    const auto start = open + name.size() + 2;
    return body.substr(start, body.find("</" + name + ">", start) - start);
}

// A clipboard description of html: a header whose offsets are those of
// the whole HTML and of the fragment, the fragment ending the text.
std::string Describe(const std::string& fragment)
{
    const std::string before = "<html><body><!--StartFragment-->";
    char header[160];
    const int headerLength = std::snprintf(header, sizeof header,
        "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\nStartFragment:%010d\r\nEndFragment:%010d\r\n", 0,
        0, 0, 0);
    const int startHTML = headerLength;
    const int startFragment = startHTML + static_cast<int>(before.size());
    const int end = startFragment + static_cast<int>(fragment.size());
    std::snprintf(header, sizeof header,
        "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\nStartFragment:%010d\r\nEndFragment:%010d\r\n",
        startHTML, end, startFragment, end);
    return header + before + fragment;
}

int FilesIn(const std::string& folder)
{
    int count = 0;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                ++count;
        }
        ::closedir(dir);
    }
    return count;
}

class PicturePass : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        ASSERT_TRUE(server.Ok());
        ASSERT_TRUE(files.Create(qmtest::TestOutputPath("pictures-")));
        server.Answer("/library", 200, UploadAnswer());
        engine->m_imageLibraryURL = CSafeBuf(server.Url("/library").c_str());
        control->Options = 64; // no image dialog
        ASSERT_TRUE(engine->LoadDocument(CSafeBuf("<p>a_x_Here_to_put_cursor_x_b</p>")));
    }

    // A file of size bytes: a PNG signature first when png, then filler.
    std::string WriteFile(const std::string& name, std::size_t size, bool png)
    {
        std::string bytes;
        if (png)
            bytes = "\x89PNG\r\n\x1a\n";
        for (std::size_t i = bytes.size(); i < size; ++i)
            bytes.push_back(static_cast<char>('a' + i % 23));
        const std::string path = files.Path() + "/" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        written[path] = bytes;
        return path;
    }

    std::string Img(const std::string& path, const std::string& alt)
    {
        return "<img src=\"file://localhost" + path + "\" alt=\"" + alt + "\" />";
    }

    std::string Body()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        return qmtest::Utf8(out);
    }

    std::vector<qmtest::RecordedRequest> Uploads() { return server.Requests(); }

    std::string TempFolder() { return qmtest::Utf8(GetUserTempFolder()); }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
    qmtest::LoopbackServer server;
    qmtest::TempDir files;
    std::map<std::string, std::string> written;
};

TEST_F(PicturePass, APastedLocalPictureIsUploadedInPacketsAndTakesTheStoredAddress)
{
    const std::string png = WriteFile("shot.png", 250 * 1024, true);
    engine->InsertHTML(Describe("<p>" + Img(png, "shot") + "</p>").c_str());

    const auto requests = Uploads();
    ASSERT_EQ(requests.size(), 3u);
    std::string sent;
    std::set<std::string> transactions;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].method, "POST");
        EXPECT_EQ(requests[i].target, "/library");
        EXPECT_EQ(Field(requests[i].body, "packetIndex"), std::to_string(i + 1));
        EXPECT_EQ(Field(requests[i].body, "packetCount"), "3");
        transactions.insert(Field(requests[i].body, "transactionId"));
        const std::string data = Field(requests[i].body, "data");
        char* decoded = nullptr;
        int length = 0;
        ASSERT_TRUE(CBase64::Decode(data.c_str(), static_cast<int>(data.size()), decoded, length));
        EXPECT_LE(length, CXHTML::kUploadPacketBytes);
        sent.append(decoded, static_cast<std::size_t>(length));
        delete[] decoded;
    }
    EXPECT_EQ(transactions.size(), 1u);
    EXPECT_FALSE(transactions.begin()->empty());
    EXPECT_EQ(sent, written[png]);
    EXPECT_NE(Body().find(std::string("src=\"") + kStored + "\""), std::string::npos) << Body();
    EXPECT_EQ(FilesIn(TempFolder()), 0);
    EXPECT_EQ(driver.shown, 0);
}

TEST_F(PicturePass, TheImageDialogConfirmsTheStoredAddressUnlessTheOptionSkipsIt)
{
    control->Options = 0;
    const std::string png = WriteFile("dialog.png", 2000, true);
    driver.dialogs.push_back({Answer::kPress, "OK", {{"alt", "confirmed"}}});
    engine->InsertHTML(Describe(Img(png, "first")).c_str());
    EXPECT_EQ(driver.shown, 1);
    EXPECT_NE(Body().find(kStored), std::string::npos) << Body();
    EXPECT_NE(Body().find("alt=\"confirmed\""), std::string::npos) << Body();

    // Cancel leaves the pasted child out.
    driver.dialogs.push_back({Answer::kPress, "Cancel", {}});
    engine->InsertHTML(Describe("<b>" + Img(png, "second") + "</b>").c_str());
    EXPECT_EQ(driver.shown, 2);
    EXPECT_EQ(Body().find("second"), std::string::npos) << Body();
    EXPECT_EQ(FilesIn(TempFolder()), 0);
}

TEST_F(PicturePass, AFailedUploadLeavesTheAlternativeText)
{
    server.Answer("/library", 500, Fault());
    const std::string png = WriteFile("fails.png", 3000, true);
    engine->InsertHTML(Describe("<p>x" + Img(png, " the picture ") + "y</p>").c_str());
    EXPECT_EQ(Uploads().size(), 1u);
    EXPECT_EQ(Body().find("<img"), std::string::npos) << Body();
    EXPECT_NE(Body().find("xthe picturey"), std::string::npos) << Body();
    EXPECT_EQ(driver.shown, 1); // the upload's own message, once
    EXPECT_EQ(FilesIn(TempFolder()), 0);
}

TEST_F(PicturePass, TwoPicturesOfOnePasteGetDifferentNames)
{
    const std::string a = WriteFile("a.png", 100, true);
    const std::string b = WriteFile("b.png", 100, true);
    // Two top-level children and one nested picture, within one tick.
    engine->InsertHTML(Describe(Img(a, "a") + "<p>" + Img(b, "b") + Img(a, "c") + "</p>").c_str());
    const auto requests = Uploads();
    ASSERT_EQ(requests.size(), 3u);
    std::set<std::string> names;
    for (const auto& r : requests) {
        const std::string name = Field(r.body, "fileName");
        EXPECT_EQ(name.rfind("X-", 0), 0u) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".png") << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 3u);
}

TEST_F(PicturePass, ScriptMarkupAndNonPictureFilesSendNothing)
{
    const std::string png = WriteFile("script.png", 500, true);
    // Markup from the page's script: outside the editor, yet not pasted.
    ASSERT_TRUE(engine->InsertHTMLCode(CSafeBuf(Img(png, "kept").c_str()), true));
    EXPECT_TRUE(Uploads().empty());
    EXPECT_NE(Body().find("file://localhost" + png), std::string::npos) << Body();

    // A pasted img naming a text file: no upload, the alternative text stays.
    const std::string text = WriteFile("secret.txt", 500, false);
    engine->InsertHTML(Describe(Img(text, "not a picture")).c_str());
    EXPECT_TRUE(Uploads().empty());
    EXPECT_NE(Body().find("not a picture"), std::string::npos) << Body();
    EXPECT_EQ(Body().find("secret.txt"), std::string::npos) << Body();
    EXPECT_EQ(FilesIn(TempFolder()), 0);
}

} // namespace
