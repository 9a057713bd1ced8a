// The edit guard: each line of tests/data/edit_guard/cases.txt is a
// document and one question to the guard, answered allowed or refused with
// the number of message boxes shown. Beside the table: the context menu
// losing its editing entries, and the control's pop-up flag while the
// message shows.

#include "tests/common/CaseFile.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/document/support/ViewedDocument.h"

#include "element/Element.h"
#include "platform/events/InputState.h"
#include "platform/ui/Menu.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::ViewedDocument;

struct GuardMarks
{
    CElement* element = nullptr; // _e
    bool selection = false;
};

// Takes the guard's own marks off the tree: _lock sets the element's own
// lock flag, _at puts the caret on the element itself, _e names the element
// of the question. A selected element means a selection is present.
void TakeGuardMarks(CElement* e, CXDoc& doc, GuardMarks& marks)
{
    CSafeBuf value;
    if (e->GetAttrString("_lock", value)) {
        e->m_locked = 1;
        e->SetAttrString("_lock", "");
    }
    if (e->GetAttrString("_at", value)) {
        e->m_caretOffset = std::stol(qmtest::ToUtf8(value));
        doc.m_caretElement = e;
        e->SetAttrString("_at", "");
    }
    if (e->GetAttrString("_e", value)) {
        marks.element = e;
        e->SetAttrString("_e", "");
    }
    marks.selection = marks.selection || e->m_selected;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        TakeGuardMarks(c, doc, marks);
}

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class EditGuard : public qmtest::ScriptedUiTest
{
protected:
    void TearDown() override { qm::events::Services::Get().Input().modifiers = 0; }
};

TEST_F(EditGuard, Cases)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("edit_guard/cases.txt", 7)) {
        const std::vector<std::string>& f = c.fields;
        SCOPED_TRACE("line " + std::to_string(c.line) + ": " + f[0]);
        ViewedDocument v;
        ASSERT_TRUE(v.Show(f[0], 400, 300));
        GuardMarks marks;
        TakeGuardMarks(v.doc.m_root, v.doc, marks);
        v.doc.m_selectionPresent = marks.selection ? 1 : 0;
        v.doc.DrawDoc(0);
        qm::events::Services::Get().Input().modifiers = f[5] == "shift" ? qm::events::kModShift : 0;
        const std::u16string item = Wide(f[4]);
        const int before = driver.shown;
        const bool allowed = v.doc.CanDocumentBeChanged(std::stoi(f[1]), marks.element, std::stol(f[2]),
            std::stol(f[3]), f[4] == "-" ? nullptr : const_cast<char16_t*>(item.c_str()));
        const std::string answer
            = (allowed ? "allowed " : "refused ") + std::to_string(driver.shown - before);
        EXPECT_EQ(answer, f[6]);
    }
}

TEST_F(EditGuard, ContextMenuOnALockedElementLosesCutAndPasteAndStillOpens)
{
    for (const bool locked : {true, false}) {
        ViewedDocument v;
        ASSERT_TRUE(
            v.Show(locked ? "<p><b style=\"-qm-lock: true\">x</b></p>" : "<p><b>x</b></p>", 400, 300));
        CElement* bold = v.doc.m_root->m_firstChild->m_firstChild;
        qm::ui::Menu sub;
        sub.AppendText(u"Paste", 32813);
        sub.AppendText(u"Other", 2);
        qm::ui::Menu menu;
        menu.AppendText(u"Cut", 32811);
        menu.AppendText(u"Copy", 32812);
        menu.AppendText(u"Paste", 32813);
        qm::ui::MenuItem more;
        more.text = u"More";
        more.submenu = std::make_unique<qm::ui::Menu>(sub);
        menu.Append(std::move(more));
        EXPECT_TRUE(v.doc.CanDocumentBeChanged(3, bold, 0, 0, &menu));
        EXPECT_EQ(menu.Count(), locked ? 2u : 4u);
        EXPECT_EQ(menu.Find(u"Cut"), locked ? -1 : 0);
        EXPECT_EQ(menu.Find(u"Paste") < 0, locked);
        const qm::ui::Menu& left = *menu.Item(menu.Find(u"More")).submenu;
        EXPECT_EQ(left.Count(), locked ? 1u : 2u);
        EXPECT_EQ(driver.shown, 0);
    }
}

TEST_F(EditGuard, TheControlIgnoresEventsWhileTheMessageShows)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show("<p _at=\"2\" _lock=\"1\">text</p>", 400, 300));
    GuardMarks marks;
    TakeGuardMarks(v.doc.m_root, v.doc, marks);
    CMorvaXEditorCtrl control;
    v.marked.engine.m_control = &control;
    bool flagWhileShown = false;
    driver.step = [&](qm::events::ModalLoop&) {
        flagWhileShown = control.m_bPopupShowing != 0;
        return qm::events::ModalAnswer::Close();
    };
    v.doc.m_caretEnabled = 0;
    EXPECT_FALSE(v.doc.CanDocumentBeChanged(1, nullptr, 'a', 0, nullptr));
    EXPECT_TRUE(flagWhileShown);
    EXPECT_EQ(control.m_bPopupShowing, 0) << "cleared again afterwards";
    EXPECT_EQ(v.doc.m_caretEnabled, 1) << "the editor takes the focus back";

    // A flag set before stays set.
    control.m_bPopupShowing = 1;
    EXPECT_FALSE(v.doc.CanDocumentBeChanged(1, nullptr, 'a', 0, nullptr));
    EXPECT_EQ(control.m_bPopupShowing, 1);
    v.marked.engine.m_control = nullptr;
}

TEST_F(EditGuard, AnElementOutsideTheTreeIsNeverLocked)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show("<p _caret=\"1\" style=\"-qm-lock: true\">locked</p><p>loose</p>", 400, 300));
    CElement* loose = v.doc.m_root->m_lastChild;
    ASSERT_TRUE(v.doc.m_root->RemoveChild(loose->GetID(), false, false));
    loose->m_locked = 1;
    for (const long sub : {1L, 5L, 10L})
        EXPECT_TRUE(v.doc.CanDocumentBeChanged(7, loose, sub, 0, nullptr)) << sub;
    EXPECT_TRUE(v.doc.CanDocumentBeChanged(5, loose, 0, 0, nullptr));
    EXPECT_FALSE(v.doc.CanDocumentBeChanged(7, nullptr, 1, 0, nullptr)) << "the caret is judged without one";
    EXPECT_EQ(driver.shown, 1);
    delete loose;
}

} // namespace
