// Inserting markup at the caret, markup in and markup out: in each case of
// tests/data/inserttag/cases.txt the first input line is the markup to
// insert and the rest the document (marks as in support/MarkedDocument.h).
// The caret element takes the markup (InsertTagText(markup, 0, true, false,
// split, drop)); with the option body the body takes it at its end. Options
// split and drop set those switches; ns gives the control extra namespace
// declarations. The answer is the document with the caret marker and the
// element the call answered. Markup that was written must read again.

#include "tests/common/CaseBlocks.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/element/support/MarkedDocument.h"

#include "base/files/UserFolders.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using qmtest::Describe;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

} // namespace

TEST(InsertTagCases, MarkupInsertedAtTheCaret)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("inserttag-home-")));
    auto control = std::make_unique<CMorvaXEditorCtrl>();
    control->Namespaces = "xmlns:x=\"urn:x\" xmlns:y=\"urn:y\"";

    qmtest::CaseBlockFile file("inserttag/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const size_t lineEnd = c.input.find('\n');
        const CSafeBuf markup = FromUtf8(c.input.substr(0, lineEnd));
        qmtest::MarkedDocument d;
        if (c.HasOption("ns"))
            d.engine.m_control = control.get();
        CSafeBuf error;
        ASSERT_TRUE(d.Read(c.input.substr(lineEnd + 1), error)) << c.name << ": " << ToUtf8(error);
        CElement* target = c.HasOption("body") ? d.Body() : d.engine.m_doc.m_caretElement;
        ASSERT_NE(target, nullptr) << c.name;
        CElement* answer
            = target->InsertTagText(markup, 0, true, false, c.HasOption("split"), c.HasOption("drop"));
        const std::string written = d.Write(true, false);
        file.Check(c, written + "\n" + Describe(answer));

        std::string plain = d.Write(false, false);
        for (size_t at = plain.find("{nbsp}"); at != std::string::npos; at = plain.find("{nbsp}"))
            plain.replace(at, 6, "\xC2\xA0");
        if (c.HasOption("ns"))
            plain = "<body " + ToUtf8(control->Namespaces) + ">" + plain + "</body>";
        CMarkupDocument again(&d.engine);
        EXPECT_TRUE(again.Read(plain.data(), plain.size(), error)) << c.name << ": " << ToUtf8(error);
        d.engine.m_control = nullptr;
    }
    control.reset();
    SetUserTempFolder(nullptr);
    SetUserCacheFolder(nullptr);
}
