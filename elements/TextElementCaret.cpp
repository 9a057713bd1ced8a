// The text run's part in placing the caret after a reload: the offset at
// which the reader found the caret marker word (m_cursorMark) is taken once.

#include "elements/TextElement.h"

bool CTextElement::TakeCursorMark()
{
    if (m_cursorMark < 0)
        return false;
    m_caretOffset = m_cursorMark > m_text.Length() ? m_text.Length() : m_cursorMark;
    m_cursorMark = -1;
    return true;
}
