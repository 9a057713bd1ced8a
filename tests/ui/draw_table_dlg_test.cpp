// The table-size picker as its owner sees it: shown without a modal loop,
// the messages each way of ending it sends, the size read from its fields,
// and the skip-event flag held only while it is open.

#include "ui/DrawTableDlg.h"

#include "tests/common/ScriptedUiDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qm::host::DialogAnswer;

struct Message
{
    unsigned int message, wParam, lParam;
    bool operator==(const Message& o) const
    {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

std::ostream& operator<<(std::ostream& out, const Message& m)
{
    return out << m.message << " " << std::hex << m.wParam << " " << m.lParam << std::dec;
}

class DrawTableDlgTest : public qmtest::ScriptedUiTest
{
protected:
    std::unique_ptr<CDrawTableDlg> Open(int kind)
    {
        auto picker = std::make_unique<CDrawTableDlg>([this](unsigned int m, unsigned int w, unsigned int l) {
            sent.push_back({m, w, l});
        });
        picker->SetTableKind(kind);
        picker->SetPosition(40, 63);
        picker->SetSkipEventVariable(&skip);
        EXPECT_TRUE(picker->StartModalless(true));
        return picker;
    }

    std::vector<Message> sent;
    unsigned char skip = 0;
};

// Each way of ending the picker sends one message: a size as rows << 8 |
// columns (the fields cut to 0-255, anything but digits 0), Cancel the
// kind with 0x100 and 0x200, a closed window the kind with 0x100.
TEST_F(DrawTableDlgTest, EachEndingSendsOneMessage)
{
    struct Case
    {
        int kind;
        DialogAnswer answer;
        Message expected;
    };
    const Case cases[] = {
        {0, {DialogAnswer::kPress, "Insert", {{"rows", "3"}, {"columns", "4"}}}, {1100, 0, 0x0304}},
        {1, {DialogAnswer::kPress, "Insert", {{"rows", "10"}, {"columns", "3"}}}, {1100, 1, 0x0A03}},
        {0, {DialogAnswer::kPress, "Insert", {{"rows", "300"}, {"columns", "255"}}}, {1100, 0, 0xFFFF}},
        {0, {DialogAnswer::kPress, "Insert", {{"rows", "-2"}, {"columns", "2x"}}}, {1100, 0, 0}},
        {0, {DialogAnswer::kPress, "Insert", {{"rows", ""}, {"columns", "99999999999"}}}, {1100, 0, 0}},
        {0, {DialogAnswer::kPress, "Cancel", {}}, {1100, 0x300, 0}},
        {1, {DialogAnswer::kClose, "", {}}, {1100, 0x101, 0}},
    };
    for (const Case& c : cases) {
        sent.clear();
        std::unique_ptr<CDrawTableDlg> picker = Open(c.kind);
        EXPECT_EQ(1, skip) << "events are skipped while it is open";
        ASSERT_TRUE(driver.AnswerModeless("table-size", c.answer));
        EXPECT_EQ(std::vector<Message>{c.expected}, sent);
        EXPECT_FALSE(picker->IsOpen());
        EXPECT_EQ(0, skip);
        EXPECT_TRUE(qm::ui::ModalDialog::Modeless().empty());
    }
}

// Deleted while open, the picker goes without a message and gives the flag
// back; a driver's answer to a picker that is not shown fails.
TEST_F(DrawTableDlgTest, DeletedWhileOpenItTellsNobody)
{
    std::unique_ptr<CDrawTableDlg> picker = Open(0);
    EXPECT_EQ(40, picker->Left());
    EXPECT_EQ(63, picker->Top());
    picker.reset();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(0, skip);
    EXPECT_FALSE(driver.AnswerModeless("table-size", {DialogAnswer::kPress, "Insert", {}}));
    EXPECT_EQ(1u, driver.failures.size());
}

} // namespace
