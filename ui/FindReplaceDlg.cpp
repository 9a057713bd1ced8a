#include "ui/FindReplaceDlg.h"

#include "base/app/LangString.h"

namespace {

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    const int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes ? bytes : "", bytes && n > 0 ? static_cast<std::size_t>(n) : 0);
    delete[] bytes;
    return out;
}

} // namespace

CFindReplaceDlg::CFindReplaceDlg(CFindReplaceTarget& target, CLangString* texts)
    : m_target(target), m_texts(texts)
{
    m_dialog.fields = {{"find", ""}, {"replace", ""}, {"match case", "0"}, {"direction", "down"}};
    m_handler = m_dialog.Target().InstallHandler(
        {{qm::events::kEventClassCommand, qm::events::kEventCommandProcess},
            {qm::events::kEventClassWindow, qm::events::kEventWindowClose}},
        [this](const qm::events::NextHandler&, qm::events::Event& e) {
            if (e.Class() == qm::events::kEventClassWindow) {
                Close();
                return qm::events::kNoErr;
            }
            std::uint32_t command = 0;
            if (!e.GetParam(qm::events::kParamCommandId, command))
                return qm::events::kEventNotHandledErr;
            return OnCommand(command);
        });
}

CFindReplaceDlg::~CFindReplaceDlg()
{
    m_dialog.Target().RemoveHandler(m_handler);
    Close();
}

void CFindReplaceDlg::BuildPage()
{
    auto label = [this](const char* key, const char* text) {
        if (!m_texts)
            return std::string(text);
        return Utf8(m_texts->GetItem(key, text));
    };
    m_dialog.caption = m_replace ? label("find-replace/title-replace", "Replace")
                                 : label("find-replace/title-find", "Find");
    m_dialog.buttons.clear();
    m_dialog.buttons.push_back({label("find-replace/find-next", "Find Next"), kCmdFindNext});
    if (m_replace) {
        m_dialog.buttons.push_back({label("find-replace/replace", "Replace"), kCmdReplace});
        m_dialog.buttons.push_back({label("find-replace/replace-all", "Replace All"), kCmdReplaceAll});
    }
    m_dialog.buttons.push_back({label("find-replace/close", "Close"), kCmdClose});
    m_dialog.defaultButton = 0;
}

void CFindReplaceDlg::Show(bool replace, const unsigned short* findText)
{
    m_replace = replace;
    BuildPage();
    if (findText && *findText)
        m_dialog.SetField("find", Utf8(CSafeBuf(findText)));
    if (m_dialog.IsModeless())
        m_dialog.ModelessUpdated();
    else
        m_dialog.ShowModeless();
}

void CFindReplaceDlg::Close() { m_dialog.HideModeless(); }

CSafeBuf CFindReplaceDlg::Field(const char* name) const
{
    CSafeBuf out;
    if (const std::string* value = m_dialog.Field(name))
        out.AssignUTF8(value->c_str());
    return out;
}

int CFindReplaceDlg::OnCommand(std::uint32_t command)
{
    const CSafeBuf what = Field("find");
    const bool matchCase = Field("match case") == CSafeBuf("1");
    const bool down = !(Field("direction") == CSafeBuf("up"));
    switch (command) {
    case kCmdFindNext:
        m_lastFound = !what.IsEmpty() && m_target.FindNext(what, matchCase, down);
        return qm::events::kNoErr;
    case kCmdReplace:
        if (!m_replace)
            return qm::events::kEventNotHandledErr;
        m_lastFound = !what.IsEmpty() && m_target.ReplaceCurrent(what, Field("replace"), matchCase);
        return qm::events::kNoErr;
    case kCmdReplaceAll:
        if (!m_replace)
            return qm::events::kEventNotHandledErr;
        m_lastReplaced = what.IsEmpty() ? 0 : m_target.ReplaceAll(what, Field("replace"), matchCase);
        m_lastFound = m_lastReplaced > 0;
        return qm::events::kNoErr;
    case kCmdClose: Close(); return qm::events::kNoErr;
    default: return qm::events::kEventNotHandledErr;
    }
}
