// Markup through the whole reading and writing path: fuzzed bytes are read
// as a document or fragment (reader and tree repair), written compact and
// indented, and each output is read again. Markup that was written must read
// back, and a written tree must read back as itself: writing it again gives
// the same text. One repair makes what the reader reads otherwise: the div
// that takes a form's text beside its blocks holds them as they stood, and
// reading it again puts the text in paragraphs, as in any div; such a tree
// must read back as itself after that one more read. The reader's entity
// pass on bytes must give what it gives on the same bytes carried one per
// UTF-16 unit.

#include "fuzz/FuzzText.h"
#include "fuzz/FuzzTree.h"

#include "base/text/LowBytes.h"
#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/MarkupEntities.h"
#include "element/markup/SourceCode.h"

#include <string>

namespace {

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes, static_cast<size_t>(n));
    delete[] bytes;
    return out;
}

// Repair may leave nothing at all (a lone empty row is dropped): such a
// fragment writes as no markup, at most its document type, which the reader
// reports as empty.
bool LeftEmpty(const CMarkupDocument& doc) { return doc.Body() && !doc.Body()->m_firstChild; }

// A form's wrapper div holding text or inline content beside a block.
bool HoldsMixedFormDiv(CElement* body)
{
    for (CElement* e : qmfuzz::ElementsBelow(body)) {
        if (e->m_kind != kKindForm || !e->m_firstChild || e->m_firstChild->m_kind != kKindDiv)
            continue;
        bool inlineContent = false, block = false;
        for (CElement* c = e->m_firstChild->m_firstChild; c; c = c->m_nextSibling) {
            block |= c->m_block != 0;
            inlineContent |= c->IsTextElement() ? !c->m_text.IsEmpty() : !c->m_block;
        }
        if (inlineContent && block)
            return true;
    }
    return false;
}

void ReadBack(CXHTML& engine, std::string written, int flags, bool oneMoreRead)
{
    CSafeBuf error, second;
    if (oneMoreRead) {
        CMarkupDocument settle(&engine);
        QM_FUZZ_CHECK(settle.Read(written.data(), written.size(), error));
        settle.Write(second, flags);
        written = Utf8(second);
    }
    CMarkupDocument again(&engine);
    QM_FUZZ_CHECK(again.Read(written.data(), written.size(), error));
    again.Write(second, flags);
    QM_FUZZ_CHECK(Utf8(second) == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CSafeBuf units;
    units.Append(bytes.data(), static_cast<int>(bytes.size()));
    PrepareMarkupEntities(bytes);
    PrepareMarkupEntities(units);
    QM_FUZZ_CHECK(LowBytes(units, units.Length()) == bytes);

    CXHTML engine;
    {
        CMarkupDocument doc(&engine);
        CSafeBuf error, out;
        if (!doc.Read(reinterpret_cast<const char*>(data), size, error))
            return 0;
        for (int flags : {0, kSourceIndent, kSourceMerge}) {
            doc.Write(out, flags);
            std::string written = Utf8(out);
            if (LeftEmpty(doc))
                continue;
            if (flags == kSourceMerge) {
                CMarkupDocument merged(&engine);
                QM_FUZZ_CHECK(merged.Read(written.data(), written.size(), error));
            } else {
                ReadBack(engine, written, flags, HoldsMixedFormDiv(doc.Body()));
            }
        }
    }
    QM_FUZZ_CHECK(engine.m_doc.m_registry.GetCount() == 0);
    return 0;
}
