#include "style/sheets/Declarations.h"

namespace {

void AddDeclaration(const CSafeBuf& text, int start, int end, std::vector<STYLE_DECLARATION>& out)
{
    CSafeBuf declaration = text.Mid(start, end - start);
    declaration.Trim();
    if (declaration.IsEmpty())
        return;
    STYLE_DECLARATION d;
    const int colon = declaration.Find(':');
    if (colon < 0) {
        d.name = declaration;
    } else {
        d.name = declaration.Left(colon);
        d.value = declaration.Mid(colon + 1, declaration.Length());
    }
    d.name.Trim();
    d.value.Trim();
    if (!d.name.IsEmpty() || !d.value.IsEmpty())
        out.push_back(d);
}

} // namespace

int StatementEnd(const CSafeBuf& text, int from)
{
    unsigned short quote = 0;
    int parens = 0;
    for (int i = from; i < text.Length(); ++i) {
        const unsigned short c = text.GetAt(i);
        if (quote) {
            if (c == '\\')
                ++i;
            else if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++parens;
        } else if (c == ')' && parens > 0) {
            --parens;
        } else if (c == ';' && parens == 0) {
            return i;
        }
    }
    return -1;
}

void SplitDeclarations(const unsigned short* text, std::vector<STYLE_DECLARATION>& out)
{
    const CSafeBuf block(text);
    int start = 0;
    for (int end; (end = StatementEnd(block, start)) >= 0; start = end + 1)
        AddDeclaration(block, start, end, out);
    AddDeclaration(block, start, block.Length(), out);
}
