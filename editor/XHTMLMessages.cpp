// The engine's user-facing odds and ends: the upload error report, the text
// of the About menu item, the help command, resetting an image to its own
// size and the class and id rows of property pages. The message box itself
// is in XHTML.cpp.

#include "editor/XHTML.h"

#include "base/app/LangString.h"
#include "editor/EnglishTexts.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/services/ControlServices.h"
#include "elements/ImageElement.h"
#include "property_dialogs/XPrpEditorDlg.h"
#include "style/sheets/StyleClass.h"
#include "ui/ShowMsg.h"

#include <vector>

namespace {

// The text of key from the engine's table, with its English default.
CSafeBuf Text(const CXHTML* engine, const char* key, const char* fallback = "")
{
    return EngineText(engine ? engine->m_langString : nullptr, key, fallback);
}

struct LanguageText
{
    const char* code;
    const char* text; // UTF-8
};

const LanguageText kAboutTexts[] = {
    {"cn", "\xE7\x89\x88\xE6\x9C\xAC\xE4\xBF\xA1\xE6\x81\xAF"},
    {"cz", "O programu"},
    {"da", "Om Editoren"},
    {"de",
        "\xC3\x9C"
        "ber"},
    {"el", "\xCE\xA0\xCE\xBB\xCE\xB7\xCF\x81\xCE\xBF\xCF\x86\xCE\xBF\xCF\x81\xCE\xAF\xCE\xB5\xCF\x82"},
    {"es", "Acerca de"},
    {"fi", "Tietoja"},
    {"fr", "Renseignements"},
    {"he", "\xD7\x90\xD7\x95\xD7\x93\xD7\x95"},
    {"hu", "N\xC3\xA9vjegy"},
    {"id", "Tentang"},
    {"it", "Informazioni sull'editor"},
    {"jw", "About"},
    {"nl", "Informatie"},
    {"ru", "\xD0\x98\xD0\xBD\xD1\x84\xD0\xBE\xD1\x80\xD0\xBC\xD0\xB0\xD1\x86\xD0\xB8\xD1\x8F"},
    {"su", "About"},
    {"sk", "About"},
    {"sr", "\xD0\x9E\xD0\xBF\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD1\x83"},
    {"sv", "Om"},
    {"uk",
        "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xBF\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x83"},
    {"sh", "O programu"},
    {"pl", "O programie"},
};

// Options bits of the class and id rows.
constexpr int kOptionClassAndIdRows = 512;
constexpr int kOptionClassRow = 131072;
constexpr int kOptionIdRow = 262144;
constexpr int kMaxClassNames = 99;

// The class names a rule offers for e: those of its selectors that name a
// class and either no element or e's.
void RuleClasses(const STYLE_CLASS* rule, const CElement* e, std::vector<CSafeBuf>& out)
{
    for (const STYLE_SELECTOR* s = rule->selectors; s; s = s->next) {
        CSafeBuf name = s->classText;
        name.Trim();
        if (name.IsEmpty())
            continue;
        if (!s->elementName.IsEmpty() && e->GetTagName()
            && s->elementName.CompareNoCase(e->GetTagName()) != 0)
            continue;
        out.push_back(name);
    }
}

} // namespace

bool CXHTML::DisplayUploadErrorMsg(CXHTML* engine, int flags)
{
    static const struct
    {
        int flag;
        const char* key;
    } kErrors[] = {
        {2, "message-box/upload-exceeds-size-limit"},
        {1, "message-box/upload-unsupported-type"},
        {4, "message-box/cannot-insert-into-given-location"},
        {8, "message-box/invalid-object-name"},
        {CXHTML::kUploadNoService, "message-box/service-not-available"},
        {CXHTML::kUploadFailed, "message-box/upload-failed"},
    };
    const CSafeBuf title = Text(engine, "message-box/title-operation-failed");
    const CSafeBuf button = Text(engine, "message-box/button-ok");
    bool any = false;
    for (const auto& error : kErrors) {
        if (!(flags & error.flag))
            continue;
        any = true;
        const CSafeBuf text = Text(engine, error.key);
        ShowMsg(title, text, button);
    }
    return any;
}

void CXHTML::GetAboutText(CSafeBuf& out) const
{
    out = "About";
    for (const LanguageText& t : kAboutTexts) {
        if (m_doc.m_language.CompareNoCase(t.code) == 0) {
            out.AssignUTF8(t.text);
            return;
        }
    }
}

void CXHTML::OnHelp()
{
    if (m_control)
        m_control->RunToolbarButtonById("help");
}

void CXHTML::OnPopupReset()
{
    CElement* e = ContextElement();
    if (!e || !e->IsType(kKindImg))
        return;
    auto* img = static_cast<CImageElement*>(e);
    CImage* picture = img->m_picture;
    if (!picture || picture->GetWidth() < 1 || picture->GetHeight() < 1)
        return;
    CSafeBuf value;
    value.FormatInt("%d", picture->GetWidth());
    img->SetAttrString("width", value);
    value.FormatInt("%d", picture->GetHeight());
    img->SetAttrString("height", value);
    img->StyleChanged(2);
    DocDrawDoc();
    m_doc.Redraw();
    NotifyEdit();
}

void CXHTML::AddClassPrp(CXPrpEditorDlg* page, CElement* element)
{
    if (!page || !element || !(Options() & kOptionClassAndIdRows))
        return;
    if (Options() & kOptionClassRow) {
        std::vector<CSafeBuf> names{CSafeBuf()};
        std::vector<CSafeBuf> found;
        for (const STYLE_CLASS* rule = m_doc.m_workingRules; rule; rule = rule->next)
            RuleClasses(rule, element, found);
        for (const CSafeBuf& name : found) {
            bool seen = false;
            for (const CSafeBuf& n : names)
                seen = seen || n == name;
            if (!seen && static_cast<int>(names.size()) <= kMaxClassNames)
                names.push_back(name);
        }
        // The engine keeps the list (new[] strings, null-terminated).
        if (m_classNames) {
            for (int i = 0; m_classNames[i]; ++i)
                delete[] m_classNames[i];
            delete[] m_classNames;
        }
        m_classNames = new unsigned short*[names.size() + 1]();
        for (std::size_t i = 0; i < names.size(); ++i) {
            // Its own buffer even for the empty first entry, which must not
            // end the list.
            const int n = names[i].Length();
            m_classNames[i] = new unsigned short[n + 1]();
            for (int k = 0; k < n; ++k)
                m_classNames[i][k] = names[i].GetAt(k);
        }
        CSafeBuf value;
        element->GetAttrString("class", value);
        page->SetItem(Text(this, "attributes/common-attributes/class", "Class"), "class", value,
            CXPrpEditorDlg::kEditableList, m_classNames);
    }
    if (Options() & kOptionIdRow) {
        CSafeBuf value;
        element->GetAttrString("id", value);
        page->SetItem(
            Text(this, "attributes/common-attributes/id", "ID"), "id", value, CXPrpEditorDlg::kTextField);
    }
}
