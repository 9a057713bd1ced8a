// The markup source view's Indent tool, through the markup tree writer.

#include "editor/XHTML.h"

#include "document/SrcElement.h"

namespace {

// Writer mode bits (CSrcElement::GetSourceCode).
constexpr int kWriteIndent = 1;
constexpr int kWriteBodyContent = 0x100;

} // namespace

bool CXHTML::IndentMarkup(const unsigned short* text, CSafeBuf& out)
{
    out.Empty();
    if (!text)
        return false;
    try {
        CSrcElement root("body", this);
        if (root.LoadDoc(text)) {
            CSafeBuf body;
            root.GetSourceCode(body, -1, kWriteIndent, true);
            if (!root.m_document) {
                out = body;
                return true;
            }
            out = root.m_document->htmlStartTag;
            void* pos = root.m_document->keptNodes.GetHeadPosition();
            while (pos)
                out += root.m_document->keptNodes.GetNext(pos);
            out += "\r\n";
            out += body;
            out += "\r\n</html>";
            return true;
        }
        // A fragment (several top-level elements, or text): the content of a body.
        CSafeBuf wrapped("<body>");
        wrapped += text;
        wrapped += "</body>";
        CSrcElement fragment("body", this);
        if (!fragment.LoadDoc(wrapped))
            return false;
        fragment.GetSourceCode(out, -1, kWriteIndent | kWriteBodyContent, true);
        return true;
    } catch (...) {
        out.Empty();
        return false;
    }
}
