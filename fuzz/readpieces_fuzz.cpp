// Two reads of markup: fuzzed bytes are read with the body taken from the
// parser's tree while the parse goes on (in pieces of 1 to 64 bytes, the
// first byte says how many) and from the whole parse, by the markup document
// and by the document's own load. Both give the same answer, the same error
// text and, when they read, the same markup written compact and indented.

#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"

#include <cstdint>
#include <string>

namespace {

struct Result
{
    bool read = false;
    bool whole = false;
    CSafeBuf error;
    CSafeBuf compact;
    CSafeBuf indented;
};

Result Read(CXHTML& engine, const std::string& markup, size_t piece)
{
    Result r;
    CMarkupDocument doc(&engine);
    doc.SetParsePiece(piece);
    r.read = doc.Read(markup.data(), markup.size(), r.error);
    if (r.read) {
        r.whole = doc.IsWholeDocument();
        doc.Write(r.compact, 0);
        doc.Write(r.indented, 1);
    }
    return r;
}

Result Load(const std::string& markup, size_t piece)
{
    Result r;
    CXHTML engine;
    engine.m_doc.m_parsePiece = piece;
    CSafeBuf text;
    text.AssignUTF8(markup.c_str());
    r.read = engine.LoadDocument(text);
    if (r.read) {
        engine.m_doc.GetSourceCode(r.compact, 6 | 16, false);
        engine.m_doc.GetSourceCode(r.indented, 1 | 16, false);
    }
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 64 * 1024)
        return 0;
    const size_t piece = 1 + data[0] % 64;
    const std::string markup(reinterpret_cast<const char*>(data + 1), size - 1);
    CXHTML engine;
    const Result whole = Read(engine, markup, 0);
    const Result pieces = Read(engine, markup, piece);
    QM_FUZZ_CHECK(whole.read == pieces.read);
    QM_FUZZ_CHECK(whole.error == pieces.error);
    QM_FUZZ_CHECK(whole.whole == pieces.whole);
    QM_FUZZ_CHECK(whole.compact == pieces.compact);
    QM_FUZZ_CHECK(whole.indented == pieces.indented);

    const Result loaded = Load(markup, 0);
    const Result loadedInPieces = Load(markup, piece);
    QM_FUZZ_CHECK(loaded.read == loadedInPieces.read);
    QM_FUZZ_CHECK(loaded.compact == loadedInPieces.compact);
    QM_FUZZ_CHECK(loaded.indented == loadedInPieces.indented);
    return 0;
}
