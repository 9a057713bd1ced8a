// Page files: what the reader takes and refuses (tests/data/host/pages.txt),
// and qmhost running the sample pages (tests/data/host/qmhost.txt) and
// writing its PNG.

#include "host/PageFile.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/RunCommand.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/wait.h>

using namespace qm::host;

TEST(PageFile, WhatTheReaderTakesAndRefuses)
{
    qmtest::CaseBlockFile file("host/pages.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        Page page;
        std::string error;
        std::string actual;
        if (ReadPage(c.input, page, error))
            actual = "ok: " + std::to_string(page.steps.size()) + " steps, "
                + std::to_string(page.functions.size()) + " functions, " + std::to_string(page.params.size())
                + " parameters";
        else
            actual = error;
        file.Check(c, actual);
    }
}

TEST(PageFile, ValuesAndAnswersAsRead)
{
    Page page;
    std::string error;
    ASSERT_TRUE(ReadPage(
        "<page><plugin module='m.so'><param name='Debug'/><param name='id' value=''/></plugin>"
        "<steps><call method='M'><string> a </string><double>0.5</double></call>"
        "<drag-answer drop='inside' x='3' y='4'/><key code='home' modifiers='shift'/></steps></page>",
        page, error))
        << error;
    ASSERT_EQ(2u, page.params.size());
    EXPECT_FALSE(page.params[0].value.has_value()); // without a value: null
    EXPECT_EQ("", page.params[1].value.value());    // an empty value is a value
    ASSERT_EQ(3u, page.steps.size());
    EXPECT_EQ("\" a \"", page.steps[0].values[0].Describe());
    EXPECT_EQ("0.5", page.steps[0].values[1].Describe());
    EXPECT_TRUE(page.steps[1].drag.drop);
    EXPECT_TRUE(page.steps[1].drag.atPoint);
    EXPECT_EQ(0x73, page.steps[2].code);
    EXPECT_EQ(0x0200, page.steps[2].modifiers);
}

namespace {

// Runs qmhost; answers its standard output and exit status.
std::string RunQmhost(const std::string& args, int& status)
{
    return qmtest::RunCommand(std::string(QM_QMHOST) + " " + args, status);
}

} // namespace

TEST(Qmhost, SamplePagesPrintTheirLogAndWriteAPicture)
{
    qmtest::TempDir out;
    ASSERT_TRUE(out.Create(qmtest::TestOutputPath("qmhost-")));
    qmtest::CaseBlockFile file("host/qmhost.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const std::string png = out.Path() + "/page.png";
        int status = 0;
        const std::string log
            = RunQmhost("--png " + png + " " + std::string(QM_HOST_PAGES) + "/" + c.input, status);
        EXPECT_EQ(0, status) << c.name << "\n" << log;
        file.Check(c, log);
        // A PNG of the browser window, 480 by 300.
        std::ifstream in(png, std::ios::binary);
        unsigned char head[24] = {};
        in.read(reinterpret_cast<char*>(head), sizeof head);
        ASSERT_TRUE(in.good()) << c.name;
        EXPECT_EQ(0, std::memcmp(head, "\x89PNG\r\n\x1A\n", 8));
        EXPECT_EQ(480, (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19]);
        EXPECT_EQ(300, (head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23]);
    }
}

TEST(Qmhost, UsageAndUnreadablePagesFailCleanly)
{
    int status = 0;
    RunQmhost("", status);
    EXPECT_EQ(1, status);
    RunQmhost("--frob page.xml", status);
    EXPECT_EQ(1, status);
    RunQmhost("/no/such/page.xml", status);
    EXPECT_EQ(1, status);
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("qmhost-")));
    std::ofstream(dir.Path() + "/missing.xml") << "<page><plugin module='no-such-module.so'/></page>";
    const std::string log = RunQmhost(dir.Path() + "/missing.xml", status);
    EXPECT_EQ(1, status);
    EXPECT_NE(std::string::npos, log.find("problem: cannot load")) << log;
}
