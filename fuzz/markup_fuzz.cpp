// Markup through the whole reading and writing path: fuzzed bytes are read
// as a document or fragment (reader and tree repair), written compact,
// indented and merged, and each output is read again. Markup that was
// written must read back, and a written tree must read back as itself:
// writing it again gives the same text. One repair makes what the reader
// reads otherwise: the div that takes a form's text beside its blocks holds
// them as they stood, and reading it again puts the text in paragraphs, as in
// any div; such a tree must read back as itself after that one more read. No
// text may be lost: a document that parses as it stands holds the same
// characters of text, blanks aside, as what was written of it (text where the
// reader keeps none aside: see KeepsText). The reader's entity pass on bytes
// must give what it gives on the same bytes carried one per UTF-16 unit.
//
// The bytes before a line "%%" are a style sheet, loaded from a file as a
// page's linked sheet is; the rest is the markup.

#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"
#include "fuzz/FuzzTree.h"

#include "base/text/LowBytes.h"
#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/MarkupEntities.h"
#include "element/markup/SourceCode.h"

#include <libxml/tree.h>

#include <algorithm>
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

// Text the reader does not keep: in elements that hold no text (br, img;
// what a column or column group holds goes into its table). What stands
// directly in html beside its head and body goes into the body.
bool KeepsText(const xmlNode* parent)
{
    const std::string name = parent->name ? reinterpret_cast<const char*>(parent->name) : "";
    return !(name == "br" || name == "img");
}

// Appends the text in node's subtree: texts, character data and the text of
// references to entities (through the DTD).
void AppendText(const xmlNode* node, std::string& all)
{
    for (const xmlNode* c = node->children; c; c = c->next) {
        if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE || c->type == XML_ENTITY_REF_NODE)
            && KeepsText(node)) {
            xmlChar* content = xmlNodeGetContent(c);
            if (content)
                all += reinterpret_cast<const char*>(content);
            xmlFree(content);
        } else if (c->type == XML_ELEMENT_NODE) {
            AppendText(c, all);
        }
    }
}

// The characters of the text of markup that parses as one document (with
// the entities its DTD declares), in no order, without blanks, line ends,
// TABs, no-break spaces and the writer's marker words; false when it does
// not parse as it stands.
bool TextOf(const std::string& markup, std::string& text)
{
    const size_t bom = markup.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    xmlDoc* doc = LoadXMLBytes(markup.data() + bom, markup.size() - bom);
    std::string all;
    if (doc)
        AppendText(reinterpret_cast<xmlNode*>(doc), all);
    XMLReleaseDom(doc);
    if (!doc)
        return false;
    text.clear();
    for (size_t i = 0; i < all.size(); ++i) {
        const char c = all[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == '\xC2' && i + 1 < all.size() && all[i + 1] == '\xA0') {
            ++i;
            continue;
        }
        text += c;
    }
    for (const char* marker : {kCaretMarker, kSelectionBeginMarker, kSelectionEndMarker}) {
        for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at))
            text.erase(at, std::char_traits<char>::length(marker));
    }
    // The repair may move text (a legend goes first in its fieldset).
    std::sort(text.begin(), text.end());
    return true;
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
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find("\n%%\n");
    const std::string sheet = split == std::string::npos ? std::string() : input.substr(0, split);
    std::string bytes = split == std::string::npos ? input : input.substr(split + 4);
    const std::string markup = bytes;
    CSafeBuf units;
    units.Append(bytes.data(), static_cast<int>(bytes.size()));
    PrepareMarkupEntities(bytes);
    PrepareMarkupEntities(units);
    QM_FUZZ_CHECK(LowBytes(units, units.Length()) == bytes);

    CXHTML engine;
    if (split != std::string::npos) {
        const std::string path = qmfuzz::WriteScratchFile("page.css", sheet.data(), sheet.size());
        CSafeBuf location;
        location.AssignUTF8(path.c_str());
        if (!path.empty())
            engine.m_doc.LoadStyleClass(location, 1, true, 0);
    }
    {
        CMarkupDocument doc(&engine);
        CSafeBuf error, out;
        if (!doc.Read(markup.data(), markup.size(), error))
            return 0;
        std::string before, after;
        const bool parses = TextOf(bytes, before);
        for (int flags : {0, kSourceIndent, kSourceMerge}) {
            doc.Write(out, flags);
            std::string written = Utf8(out);
            if (parses && TextOf(written, after))
                QM_FUZZ_CHECK(after == before);
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
