// The markup tree's two reads: fuzzed markup (UTF-8) is read into a root
// "body" with CSrcElement::LoadDoc (through the parser's document tree) and
// with LoadDocStreamed (from the parser's events, the writer's tidy pass).
// Both give the same answer and, when they read it, the same tree (written
// indented with comments as elements), html start tag and kept nodes.

#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "document/SrcElement.h"

#include <cstdint>
#include <string>

namespace {

CSafeBuf Read(const CSafeBuf& markup, bool streamed, bool& answer)
{
    CSrcElement root("body");
    answer = streamed ? root.LoadDocStreamed(markup) : root.LoadDoc(markup);
    CSafeBuf out;
    if (!answer)
        return out;
    root.GetSourceCode(out, 0, 1 | 0x1000, true);
    if (root.m_document) {
        out += "\nhtml: ";
        out += root.m_document->htmlStartTag;
        for (void* p = root.m_document->keptNodes.GetHeadPosition(); p;) {
            out += "\nkept: ";
            out += root.m_document->keptNodes.GetNext(p);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CSafeBuf markup;
    markup.AssignUTF8(text.c_str());
    bool treeAnswer = false;
    bool streamedAnswer = false;
    const CSafeBuf tree = Read(markup, false, treeAnswer);
    const CSafeBuf streamed = Read(markup, true, streamedAnswer);
    QM_FUZZ_CHECK(treeAnswer == streamedAnswer);
    QM_FUZZ_CHECK(tree == streamed);
    return 0;
}
