#pragma once
// CFindReplaceDlg: the modeless find and replace dialog. It has a find page
// (the find text, match case, direction) and a replace page (the same and
// the replacement), shown without a modal loop so that the user goes on
// editing while it is open. Its buttons ask the text it belongs to
// (CFindReplaceTarget) to find, replace or replace all; the target searches
// its own text from its own caret.
//
// Fields the UI driver can edit: "find", "replace", "match case" ("1" on)
// and "direction" ("up" searches backwards). Buttons: "Find Next",
// "Replace" and "Replace All" (replace page only) and "Close". Labels come
// from the language table when one is given (keys "find-replace/...").
//
// The dialog window is a platform modal dialog shown modelessly; a later
// window layer's dialog base can take its place without changing callers.

#include "base/text/SafeBuf.h"
#include "platform/events/Event.h"
#include "platform/ui/ModalDialog.h"

#include <cstdint>

class CLangString;

// The text a find dialog works on.
class CFindReplaceTarget
{
public:
    virtual ~CFindReplaceTarget() = default;
    // Selects the next occurrence of what after the caret (down) or before
    // it; false, with nothing changed, when there is none.
    virtual bool FindNext(const CSafeBuf& what, bool matchCase, bool down) = 0;
    // Replaces the selection by with when it is an occurrence of what, then
    // finds the next one; false when nothing was replaced.
    virtual bool ReplaceCurrent(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) = 0;
    // Replaces every occurrence; answers how many.
    virtual int ReplaceAll(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) = 0;
};

class CFindReplaceDlg
{
public:
    static constexpr std::uint32_t kCmdFindNext = qm::events::FourCC("fnxt");
    static constexpr std::uint32_t kCmdReplace = qm::events::FourCC("repl");
    static constexpr std::uint32_t kCmdReplaceAll = qm::events::FourCC("rpla");
    static constexpr std::uint32_t kCmdClose = qm::events::FourCC("clos");

    explicit CFindReplaceDlg(CFindReplaceTarget& target, CLangString* texts = nullptr);
    ~CFindReplaceDlg();
    CFindReplaceDlg(const CFindReplaceDlg&) = delete;
    CFindReplaceDlg& operator=(const CFindReplaceDlg&) = delete;

    // Shows the dialog on the find or the replace page; when it is open
    // already it only turns to that page (one dialog, brought forward).
    // A find text given (not empty) is put into the find field.
    void Show(bool replace, const unsigned short* findText = nullptr);
    void Close();
    bool IsOpen() const { return m_dialog.IsModeless(); }
    bool IsReplacePage() const { return m_replace; }

    // The last command's outcome: whether it found or replaced anything,
    // and how many Replace All replaced.
    bool LastFound() const { return m_lastFound; }
    int LastReplaced() const { return m_lastReplaced; }

    qm::ui::ModalDialog& Dialog() { return m_dialog; }

private:
    void BuildPage();
    int OnCommand(std::uint32_t command);
    CSafeBuf Field(const char* name) const;

    CFindReplaceTarget& m_target;
    CLangString* m_texts;
    qm::ui::ModalDialog m_dialog{"find-replace"};
    qm::events::HandlerId m_handler = 0;
    bool m_replace = false;
    bool m_lastFound = false;
    int m_lastReplaced = 0;
};
