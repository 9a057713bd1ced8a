#include "style/cascade/ClassList.h"

#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "element/Element.h"

namespace {

// The first whole-word occurrence of word in list at or after from (a word
// stands between the start or a space and the end or a space); -1 when none.
int FindWord(const CSafeBuf& list, const CSafeBuf& word, int from)
{
    if (word.IsEmpty())
        return -1;
    for (int at = list.Find(word, from); at >= 0; at = list.Find(word, at + 1)) {
        const bool startsWord = at == 0 || list.GetAt(at - 1) == ' ';
        const int end = at + word.Length();
        const bool endsWord = end == list.Length() || list.GetAt(end) == ' ';
        if (startsWord && endsWord)
            return at;
    }
    return -1;
}

void RemoveWord(CSafeBuf& list, const CSafeBuf& word)
{
    for (int at = FindWord(list, word, 0); at >= 0; at = FindWord(list, word, at)) {
        const int end = at + word.Length();
        list.Delete(at, word.Length() + (list.GetAt(end) == ' ' ? 1 : 0));
    }
    list.Trim();
}

void ReplaceWord(CSafeBuf& list, const CSafeBuf& word, const CSafeBuf& replacement)
{
    if (replacement.IsEmpty()) {
        RemoveWord(list, word);
        return;
    }
    for (int at = FindWord(list, word, 0); at >= 0;) {
        list.Delete(at, word.Length());
        list.Insert(at, static_cast<const unsigned short*>(replacement));
        at = FindWord(list, word, at + replacement.Length());
    }
    list.Trim();
}

} // namespace

bool HasClasInMultipleClass(CElement* e, const unsigned short* name, const unsigned short* classes)
{
    if (!name || !*name)
        return false;
    CSafeBuf list;
    if (classes)
        list = classes;
    else if (e)
        e->m_attributes.Lookup("class", list);
    const CSafeBuf word(name);
    return list == word || FindWord(list, word, 0) >= 0;
}

bool ChangeMultipleClass(
    CElement* e, const unsigned short* name, int mode, const unsigned short* replacement, CSafeBuf* out)
{
    if (!name || !*name || (!out && !e))
        return false;
    CSafeBuf list;
    if (out)
        list = *out;
    else
        e->m_attributes.Lookup("class", list);
    const CSafeBuf before(list);
    const CSafeBuf word(name);
    const CSafeBuf with(replacement);
    const bool holds = list == word || FindWord(list, word, 0) >= 0;

    if (mode == kClassReplace && word != with) {
        if (list.IsEmpty() || list == word)
            list = with;
        else
            ReplaceWord(list, word, with);
    } else if (mode == kClassAdd || (mode != kClassRemove && mode != kClassReplace && !holds)) {
        if (list.IsEmpty())
            list = word;
        else if (!holds) {
            list += ' ';
            list += word;
        }
    } else if (mode != kClassReplace) {
        if (list == word)
            list.Empty();
        else
            RemoveWord(list, word);
    }

    if (list == before)
        return false;
    if (out) {
        *out = list;
    } else {
        e->m_attributes.SetAt("class", list);
        e->StyleChanged(1);
    }
    return true;
}
