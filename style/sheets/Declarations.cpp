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

void SplitDeclarations(const unsigned short* text, std::vector<STYLE_DECLARATION>& out)
{
    const CSafeBuf block(text);
    unsigned short quote = 0;
    int parens = 0;
    int start = 0;
    for (int i = 0; i < block.Length(); ++i) {
        const unsigned short c = block.GetAt(i);
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
            AddDeclaration(block, start, i, out);
            start = i + 1;
        }
    }
    AddDeclaration(block, start, block.Length(), out);
}
