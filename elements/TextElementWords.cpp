// The arrows in a text run: by character, and by word with Option or
// Control held, across runs when the run's edge is reached.

#include "elements/TextElement.h"

#include "elements/TypingTree.h"

namespace {

// Below 128 and neither an ASCII letter nor a digit.
bool IsCharSymbol(unsigned short c)
{
    if (c >= 128)
        return false;
    return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
}

bool IsBlankText(const CSafeBuf& text)
{
    for (int i = 0; i < text.Length(); ++i) {
        const unsigned short c = text.GetAt(i);
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != 0xA0)
            return false;
    }
    return true;
}

} // namespace

int CTextElement::FindNextWord(bool forward, int from)
{
    const int n = m_text.Length();
    int p = from < 0 ? static_cast<int>(m_caretOffset) : from;
    if (p < 0 || p > n)
        return -1;
    auto at = [this](int i) { return m_text.GetAt(i); };
    if (forward) {
        if (p < n && IsCharSymbol(at(p)) && at(p) != ' ')
            return p + 1;
        bool space = false;
        for (int i = p; i < n; ++i) {
            const unsigned short c = at(i);
            if (c == ' ') {
                space = true;
            } else if (IsCharSymbol(c)) {
                return i;
            } else if (space) {
                return i;
            }
        }
        return -1;
    }
    if (p > 0 && IsCharSymbol(at(p - 1)) && at(p - 1) != ' ')
        return p - 1;
    int wordStart = -1;
    for (int i = p - 1; i >= 0; --i) {
        const unsigned short c = at(i);
        if (!IsCharSymbol(c)) {
            wordStart = i;
            continue;
        }
        if (wordStart >= 0)
            return wordStart;
        if (c != ' ')
            return i + 1;
    }
    return wordStart;
}

CElement* CTextElement::MoveByCharacter(bool forward)
{
    if (forward ? m_caretOffset < m_text.Length() : m_caretOffset > 0) {
        m_caretOffset += forward ? 1 : -1;
        return nullptr;
    }
    return MoveKeyFocusToNext(m_id, forward ? 1 : 0);
}

CElement* CTextElement::MoveByWord(bool forward)
{
    const int found = FindNextWord(forward, -1);
    if (found >= 0) {
        m_caretOffset = found;
        return nullptr;
    }
    m_caretOffset = forward ? m_text.Length() : 0;
    if (forward) {
        // The next run that holds more than blanks; the caret after its
        // leading blanks.
        for (CTextElement* run = NextRun(this, nullptr, true); run; run = NextRun(run, nullptr, true)) {
            if (IsBlankText(run->m_text))
                continue;
            int at = 0;
            while (
                at < run->m_text.Length() && (run->m_text.GetAt(at) == ' ' || run->m_text.GetAt(at) == 0xA0))
                ++at;
            PutCaret(run, at);
            return run;
        }
        return nullptr;
    }
    CTextElement* last = nullptr;
    for (CTextElement* run = PreviousRun(this, nullptr, true); run; run = PreviousRun(run, nullptr, true)) {
        last = run;
        const int at = run->FindNextWord(false, run->m_text.Length());
        if (at >= 0) {
            PutCaret(run, at);
            return run;
        }
    }
    if (last)
        PutCaret(last, 0);
    return last;
}
