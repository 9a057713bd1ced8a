// A path from page script ("/body[1]/p[2]") looked up in a document: the
// first byte chooses the document and whether the rest is read as 8-bit text
// (each byte a character) or as UTF-16 units. Checks: the answer is null or
// an element of the tree, and the element's own path, written the way the
// lookup counts (its tag and its place among same-named siblings), finds
// the same element again.

#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"

#include <string>
#include <vector>

namespace {

const char* const kDocuments[] = {
    "<p>a</p><p>b</p>",
    "<p>x<b>ab<i>cd</i></b>y<b>z</b></p><div><p>e</p><p>f</p></div>",
    "<ul><li>a</li><li><b>b</b><b>c</b></li></ul><table><tbody><tr><td>1</td></tr><tr><td>2</td><td>3</td></"
    "tr>"
    "</tbody></table>",
    "<dl><dt>a</dt><dd>b</dd><dt>c</dt></dl><pre>x\ny</pre><p>&#160;</p>",
};

// The path that names e, counting as the lookup does.
CSafeBuf OwnPath(const CElement* e, const CElement* root)
{
    std::vector<const CElement*> chain;
    for (; e && e != root; e = e->m_parent)
        chain.push_back(e);
    CSafeBuf path("/body[1]");
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += "/";
        path += (*it)->GetTagName();
        path += "[";
        path.AppendInt((*it)->GetIndex() + 1);
        path += "]";
    }
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 64 * 1024)
        return 0;
    FuzzedDataProvider fdp(data, size);
    const uint8_t pick = fdp.ConsumeIntegral<uint8_t>();
    const char* document = kDocuments[pick % std::size(kDocuments)];
    const bool wide = (pick & 0x80) != 0;
    std::vector<unsigned short> path
        = wide ? qmfuzz::RemainingU16(fdp) : qmfuzz::Widen(fdp.ConsumeRemainingBytesAsString());
    for (unsigned short& u : path) {
        if (u == 0 && &u != &path.back())
            u = ' ';
    }

    CXHTML engine;
    {
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        const std::string text(document);
        if (!doc.Read(text.data(), text.size(), error) || !doc.Body())
            return 0;
        CXDoc& xdoc = engine.m_doc;
        xdoc.m_root = doc.Body();
        CElement* found = xdoc.FindElementByQPath(path.data());
        if (found) {
            QM_FUZZ_CHECK(xdoc.IsElementInTree(found) || found == xdoc.m_root);
            QM_FUZZ_CHECK(!found->IsTextElement());
            const CSafeBuf own = OwnPath(found, xdoc.m_root);
            QM_FUZZ_CHECK(xdoc.FindElementByQPath(own) == found);
        }
        xdoc.m_root = nullptr;
    }
    return 0;
}
