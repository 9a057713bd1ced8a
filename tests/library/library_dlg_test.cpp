// The library browser's requests send the tag list it was given as
// "X-TagList".

#include "library/LibraryDlg.h"

#include "net/AdditionalHeaders.h"
#include "net/LoadHTTPFile.h"
#include "platform/events/Services.h"
#include "platform/net/Http.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

using qmtest::FromUtf8;

namespace {

class HeaderNetwork : public qm::net::NetworkDriver
{
public:
    HeaderNetwork() { qm::events::Services::Get().SetNetwork(this); }
    ~HeaderNetwork() override { qm::events::Services::Get().SetNetwork(nullptr); }
    qm::net::HttpResponse Send(const qm::net::HttpRequest& request) override
    {
        tagList.clear();
        sent = false;
        for (const auto& h : request.headers)
            if (h.first == "X-TagList") {
                tagList = h.second;
                sent = true;
            }
        qm::net::HttpResponse reply;
        reply.status = 200;
        reply.body = "<r/>";
        return reply;
    }
    std::string tagList;
    bool sent = false;
};

std::string Fetch(ADDITIONAL_HTTP_HEADERS* headers, const std::string& target)
{
    CSafeBuf local, unused1, unused2, unused3, server, user, password;
    CSafeBuf file = FromUtf8(target);
    LoadHTTPFile(nullptr, FromUtf8("http://library.test/describe"), local, unused1, -1, file, headers,
        unused2, nullptr, server, 80, user, password, unused3, nullptr, "application/soap+xml", nullptr,
        nullptr);
    return qmtest::Utf8(local);
}

} // namespace

TEST(LibraryDlgTest, TheTagListGoesOutWithEveryRequestUntilChanged)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("library-")));
    const std::string target = dir.Path() + "/reply.xml";
    ADDITIONAL_HTTP_HEADERS headers;
    ClearAdditionalHeaders(&headers);
    HeaderNetwork network;

    Fetch(&headers, target);
    EXPECT_FALSE(network.sent); // an empty field sends nothing

    CLibraryDlg dialog(&headers);
    dialog.SetTagList(FromUtf8("html/body/p/img"));
    Fetch(&headers, target);
    EXPECT_EQ("html/body/p/img", network.tagList);
    Fetch(&headers, target);
    EXPECT_EQ("html/body/p/img", network.tagList);

    // A long list is cut to the field, never past it.
    dialog.SetTagList(FromUtf8(std::string(9000, 't')));
    Fetch(&headers, target);
    EXPECT_EQ(std::string(8191, 't'), network.tagList);

    dialog.SetTagList(nullptr);
    Fetch(&headers, target);
    EXPECT_FALSE(network.sent);

    CLibraryDlg(nullptr).SetTagList(FromUtf8("x")); // no record: nothing to fill
}
