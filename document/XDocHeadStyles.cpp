// Style elements that came with inserted markup, kept in the head, and the
// document's own rules read again after the control's sheet.

#include "document/XDoc.h"

#include "element/Element.h"

void CXDoc::AddStyleElements(const std::vector<InsertedStyle>& styles)
{
    if (styles.empty())
        return;
    bool restyle = false;
    for (const InsertedStyle& style : styles) {
        if (style.screen && m_styleMarkup.IsEmpty()) {
            // The document's sheet: read after the control's rules, as a
            // loaded head's style element is.
            if (m_headMarkup.IsEmpty()) {
                m_headMarkup = "<head></head>";
                m_headStartTag = "<head>";
            }
            m_sheetPlace = -1; // it ends the head
            LoadStyleClass(style.rules, 0, false, 0);
            m_ownSheets.push_back(style.rules);
            m_styleMarkup = style.markup;
            restyle = true;
            continue;
        }
        if (m_headMarkup.IsEmpty()) {
            m_headMarkup = "<head></head>";
            m_headStartTag = "<head>";
        }
        // Kept after the head's last child; a sheet that ended the head
        // stays before it, so that it is still the first when read again.
        int end = -1;
        for (int at = m_headMarkup.Find("</head>", 0, false); at >= 0;
             at = m_headMarkup.Find("</head>", at + 1, false))
            end = at;
        if (end < 0)
            continue;
        if (m_sheetPlace < 0 && !m_styleMarkup.IsEmpty())
            m_sheetPlace = end;
        m_headMarkup.Insert(end, static_cast<const unsigned short*>(style.markup));
        if (!style.screen)
            continue; // kept for print or another medium, never applied
        m_sheetSpans.emplace_back(end, end + style.markup.Length());
        // Its rules apply after those before it, as when the document is
        // read again.
        LoadStyleClass(style.rules, 0, false, 0);
        m_ownSheets.push_back(style.rules);
        restyle = true;
    }
    m_fullDocument = 1;
    if (restyle) {
        RulesChanged();
        if (m_root)
            m_root->StyleChanged(1);
    }
}

void CXDoc::LoadOwnSheets()
{
    for (const CSafeBuf& sheet : m_ownSheets)
        LoadStyleClass(sheet, 0, false, 0);
}
