#include "style/sheets/SheetText.h"

#include "base/text/StringSplitter.h"
#include "style/sheets/Declarations.h"

namespace {

// Stands for a "}" that closed no block while the text is split; it goes
// back into the selector of the rule it stands before.
constexpr unsigned short kStrayBrace = 0xFDD0;

// The blanks CSafeBuf::TrimLeft takes.
bool IsTrimBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Drops the @-statements ended by ";" that stand before a rule's selector,
// cut off together once their end is known.
void DropStatements(CSafeBuf& selector)
{
    auto skipBlanks = [&selector](int i) {
        while (i < selector.Length() && IsTrimBlank(selector.GetAt(i)))
            ++i;
        return i;
    };
    int start = skipBlanks(0);
    while (selector.GetAt(start) == '@') {
        const int end = StatementEnd(selector, start);
        if (end < 0)
            break;
        start = skipBlanks(end + 1);
    }
    selector.Delete(0, start);
}

bool IsWhite(unsigned short c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Splits text into rules; with nested set (inside a media block) @-blocks
// are dropped, else a screen media block is opened one level.
void Split(const unsigned short* text, bool nested, std::vector<SheetRule>& out)
{
    CStringSplitter splitter(text, 0, ';');
    splitter.ResetGet();
    CSafeBuf selector, body;
    while (splitter.GetNext(&selector, &body, true)) {
        DropStatements(selector);
        selector.Replace(CSafeBuf(kStrayBrace, 1), CSafeBuf("}"));
        if (selector.GetAt(0) != '@') {
            out.push_back(SheetRule{selector, body});
            continue;
        }
        if (nested)
            continue;
        int gap = 0;
        while (gap < selector.Length() && !IsWhite(selector.GetAt(gap)))
            ++gap;
        CSafeBuf media = selector.Mid(gap, selector.Length());
        if (selector.Left(gap).CompareNoCase("@media") == 0 && IsScreenMedia(media))
            Split(body, true, out);
    }
}

} // namespace

bool IsScreenMedia(const CSafeBuf& list)
{
    int start = 0;
    for (int i = 0; i <= list.Length(); ++i) {
        if (i < list.Length() && list.GetAt(i) != ',')
            continue;
        CSafeBuf medium = list.Mid(start, i - start);
        medium.Trim();
        if (medium.CompareNoCase("all") == 0 || medium.CompareNoCase("screen") == 0)
            return true;
        start = i + 1;
    }
    return false;
}

bool IsScreenMediaAttribute(const CSafeBuf& media)
{
    CSafeBuf list(media);
    list.Trim();
    return list.IsEmpty() || IsScreenMedia(list);
}

void RemoveCssComments(CSafeBuf& text)
{
    if (text.Find("/*") < 0)
        return;
    CSafeBuf kept;
    int from = 0;
    while (from < text.Length()) {
        const int open = text.Find("/*", from);
        if (open < 0) {
            kept.Append(static_cast<const unsigned short*>(text) + from, text.Length() - from);
            break;
        }
        kept.Append(static_cast<const unsigned short*>(text) + from, open - from);
        const int close = text.Find("*/", open + 2);
        from = close < 0 ? text.Length() : close + 2;
    }
    text.ReplaceWith(&kept);
}

bool IsWebPageText(const CSafeBuf& text)
{
    const CSafeBuf head = text.Left(504);
    for (const char* mark : {"<html", "<HTML"}) {
        const int at = head.Find(mark);
        if (at >= 0 && at < 500)
            return true;
    }
    return false;
}

void BalanceBraces(CSafeBuf& text)
{
    const bool mark = text.Find(kStrayBrace) < 0;
    unsigned short quote = 0;
    int depth = 0;
    bool escapeAtEnd = false;
    // A stray "}" that is not marked is dropped: the units kept move down
    // as they are read, and the text is cut after the last one at the end.
    int kept = 0;
    auto put = [&text, &kept](unsigned short c) {
        if (text.GetAt(kept) != c)
            text.SetAt(kept, c);
        ++kept;
    };
    for (int i = 0; i < text.Length(); ++i) {
        const unsigned short c = text.GetAt(i);
        if (c == '\\') {
            put(c);
            if (++i >= text.Length()) {
                escapeAtEnd = true;
                break;
            }
            put(text.GetAt(i));
            continue;
        }
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && depth > 0) {
            --depth;
        } else if (c == '}') {
            if (mark)
                put(kStrayBrace);
            continue;
        }
        put(c);
    }
    text.Delete(kept, text.Length() - kept);
    if (escapeAtEnd)
        text += ' ';
    if (quote)
        text += quote;
    if (depth > 0)
        text += CSafeBuf('}', depth);
}

void SplitSheet(const unsigned short* text, std::vector<SheetRule>& out)
{
    if (!text)
        return;
    CSafeBuf balanced(text);
    BalanceBraces(balanced);
    Split(balanced, false, out);
}
