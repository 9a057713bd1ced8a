// The editing engine as the element tree uses it.

#include "editor/XHTML.h"

#include "base/app/LangString.h"
#include "editor/EnglishTexts.h"
#include "ui/ShowMsg.h"

#include <string>

namespace {

const char kNoText[] = "The operation failed.";

} // namespace

void CXHTML::DisplayMessageBox(const unsigned short* key)
{
    if (!key) {
        DisplayMessageBox(static_cast<const char*>(nullptr));
        return;
    }
    // The English default of an ASCII key; the table is asked with the key
    // as given.
    std::string narrow;
    bool ascii = true;
    for (const unsigned short* k = key; *k && ascii; ++k) {
        ascii = *k < 0x80;
        narrow.push_back(static_cast<char>(*k));
    }
    const char* english = ascii ? EnglishText(narrow.c_str()) : nullptr;
    const CSafeBuf fallback(english ? english : kNoText);
    const CSafeBuf title = EngineText(m_langString, "message-box/title-operation-failed", "Operation failed");
    const CSafeBuf button = EngineText(m_langString, "message-box/button-ok", "OK");
    const CSafeBuf text = m_langString ? m_langString->GetItem(key, fallback) : fallback;
    ShowMsg(title, text, button);
}

void CXHTML::DisplayMessageBox(const char* key)
{
    const CSafeBuf title = EngineText(m_langString, "message-box/title-operation-failed", "Operation failed");
    const CSafeBuf button = EngineText(m_langString, "message-box/button-ok", "OK");
    const CSafeBuf text = EngineText(m_langString, key ? key : "", kNoText);
    ShowMsg(title, text, button);
}
