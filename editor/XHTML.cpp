// The editing engine as the element tree uses it.

#include "editor/XHTML.h"

#include "base/app/LangString.h"
#include "ui/ShowMsg.h"

CXHTML::CXHTML() : CXHTMLServices(CXHTMLDocument::m_doc) { m_doc.m_owner = this; }

CXHTML::~CXHTML() { m_doc.ReleaseTree(); }

void CXHTML::DisplayTooltip(CPoint point, const unsigned short* text, bool left)
{
    m_doc.DisplayTooltip(point, text, left);
}

void CXHTML::HideTooltip(bool hide) { m_doc.HideTooltip(hide); }

void CXHTML::DisplayTagBox() { }

namespace {

CSafeBuf Localised(const CLangString* table, const char* key, const char* fallback)
{
    if (table)
        return table->GetItem(key, fallback);
    return CSafeBuf(reinterpret_cast<const unsigned char*>(fallback));
}

} // namespace

void CXHTML::DisplayMessageBox(const unsigned short* key)
{
    CSafeBuf title = Localised(m_langString, "message-box/title-operation-failed", "Failed to upload file!");
    CSafeBuf button = Localised(m_langString, "message-box/button-ok", "OK");
    CSafeBuf text;
    if (m_langString && key)
        text = m_langString->GetItem(key, nullptr);
    ShowMsg(title, text, button);
}

void CXHTML::DisplayMessageBox(const char* key)
{
    CSafeBuf title = Localised(m_langString, "message-box/title-operation-failed", "Failed to upload file!");
    CSafeBuf button = Localised(m_langString, "message-box/button-ok", "OK");
    CSafeBuf text = Localised(m_langString, key ? key : "", "upload failed.");
    ShowMsg(title, text, button);
}
