#include "source_view/ValidateXml.h"

#include "base/xml/XmlLoad.h"
#include "ui/MsgBox.h"

namespace {

bool IsBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWith(const unsigned short* t, int n, int i, const char* word)
{
    for (int k = 0; word[k]; ++k) {
        if (i + k >= n || t[i + k] != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

// The position after a leading XML declaration and document type
// declaration (and the blanks around them).
int PrologEnd(const unsigned short* t, int n)
{
    int i = 0;
    while (i < n && IsBlank(t[i]))
        ++i;
    if (StartsWith(t, n, i, "<?xml")) {
        while (i < n && !StartsWith(t, n, i, "?>"))
            ++i;
        i = std::min(n, i + 2);
        while (i < n && IsBlank(t[i]))
            ++i;
    }
    if (StartsWith(t, n, i, "<!DOCTYPE")) {
        int depth = 0;
        for (; i < n; ++i) {
            if (t[i] == '[')
                ++depth;
            else if (t[i] == ']')
                --depth;
            else if (t[i] == '>' && depth <= 0) {
                ++i;
                break;
            }
        }
    }
    return i;
}

void Show(const char* caption, const CSafeBuf& text, TWindow* parent)
{
    CMsgBox box;
    CSafeBuf title(caption);
    box.SetCaption(title);
    box.SetText(text);
    box.SetParent(parent);
    box.DoModal();
}

} // namespace

bool ValidateXMLValue(const unsigned short* text, bool show, CSafeBuf* message, TWindow* parent)
{
    int n = 0;
    while (text && text[n])
        ++n;
    CSafeBuf wrapped("<AdDedBlS12Bs>");
    const int from = PrologEnd(text, n);
    if (n > from)
        wrapped.Append(text + from, n - from);
    wrapped += "</AdDedBlS12Bs>";

    CSafeBuf error;
    xmlDoc* doc = LoadXMLString(wrapped, &error, true);
    CSafeBuf result;
    const bool ok = doc != nullptr;
    if (ok) {
        XMLReleaseDom(doc);
        result = "Document is valid.";
    } else {
        // The parser's first message, from the XML layer's error text
        // "Incorrect XML<br />Reason: message<br />Line: n".
        const int at = error.Find("Reason: ");
        const int from = at < 0 ? 0 : at + 8;
        int to = error.Find("<br />Line:", from);
        if (to < 0)
            to = error.Length();
        CSafeBuf reason;
        reason.Append(static_cast<const unsigned short*>(error) + from, to - from);
        reason.Trim();
        result = "XML error - \n Error Reason: ";
        result += reason;
    }
    if (message)
        *message = result;
    if (show)
        Show(ok ? "Validate" : "Validation failed", result, parent);
    return ok;
}
