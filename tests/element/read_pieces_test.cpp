// A body read while the parser parses the markup in pieces gives what the
// read of the whole parse gives, in the markup document (the same elements in
// the same order of making, the same markup written compact and indented, the
// same answer and error text) and in the document's own load (the same
// elements, caret, markup written and kept head). Pieces of one byte split every character and
// tag; a few bytes, the reader's pieces and the whole markup at once follow.
// The inputs: read_pieces/documents.txt (whose output is the whole parse's),
// the inputs of the reader's case files and two real documents.

#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"

#include "base/text/SafeBuf.h"
#include "base/xml/XmlPushParse.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using qmtest::ToUtf8;

void Describe(const CElement* e, long firstId, int level, std::string& out)
{
    out += std::to_string(level) + " <" + ToUtf8(CSafeBuf(e->GetTagName())) + "> "
        + std::to_string(e->GetID() - firstId) + " \"" + ToUtf8(e->m_text) + "\"\n";
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        Describe(c, firstId, level + 1, out);
}

struct Read
{
    bool read = false;
    bool whole = false;
    std::string error;
    std::string tree;
    std::string compact;
    std::string indented;
};

Read ReadIn(const std::string& markup, size_t piece)
{
    CXHTML engine;
    CMarkupDocument doc(&engine);
    doc.SetParsePiece(piece);
    CSafeBuf error;
    Read r;
    r.read = doc.Read(markup.data(), markup.size(), error);
    r.error = ToUtf8(error);
    if (r.read) {
        r.whole = doc.IsWholeDocument();
        Describe(doc.Body(), doc.Body()->GetID(), 0, r.tree);
        CSafeBuf out;
        doc.Write(out, 0);
        r.compact = ToUtf8(out);
        doc.Write(out, 1);
        r.indented = ToUtf8(out);
    }
    return r;
}

// The document's own load of the text of markup.
Read LoadIn(const std::string& markup, size_t piece)
{
    CXHTML engine;
    engine.m_doc.m_parsePiece = piece;
    Read r;
    CSafeBuf text;
    text.AssignUTF8(markup.c_str());
    r.read = engine.LoadDocument(text);
    if (r.read) {
        Describe(engine.m_doc.m_root, engine.m_doc.m_root->GetID(), 0, r.tree);
        if (const CElement* caret = engine.m_doc.m_caretElement)
            r.tree += "caret " + std::to_string(caret->GetID() - engine.m_doc.m_root->GetID()) + "\n";
        CSafeBuf out;
        engine.m_doc.GetSourceCode(out, 6 | 16, false);
        r.compact = ToUtf8(out);
        engine.m_doc.GetSourceCode(out, 1 | 16, false);
        r.indented = ToUtf8(out);
    }
    return r;
}

// Reads markup whole and in pieces, into a markup document and through the
// document's load; the markup document's whole read, checked against each.
Read ExpectSameInPieces(const std::string& markup, const std::string& name)
{
    const Read loaded = LoadIn(markup, 0);
    const Read whole = ReadIn(markup, 0);
    const size_t pieces[] = {1, 7, 61, CXmlPushParse::kPieceBytes};
    for (size_t piece : pieces) {
        // One byte at a time parses a large document slowly; its small
        // pieces are tried on the small inputs.
        if (piece < 61 && markup.size() > 16 * 1024)
            continue;
        const Read r = ReadIn(markup, piece);
        const std::string what = name + ", pieces of " + std::to_string(piece) + " bytes: ";
        EXPECT_EQ(whole.read, r.read) << what << "the answer";
        EXPECT_EQ(whole.error, r.error) << what << "the error";
        EXPECT_EQ(whole.whole, r.whole) << what << "whole or fragment";
        EXPECT_EQ(whole.tree, r.tree) << what << "the tree";
        EXPECT_EQ(whole.compact, r.compact) << what << "the markup";
        EXPECT_EQ(whole.indented, r.indented) << what << "the indented markup";
        const Read l = LoadIn(markup, piece);
        EXPECT_EQ(loaded.read, l.read) << what << "the document's load";
        EXPECT_EQ(loaded.tree, l.tree) << what << "the document's tree";
        EXPECT_EQ(loaded.compact, l.compact) << what << "the document's markup";
        EXPECT_EQ(loaded.indented, l.indented) << what << "the document's indented markup";
    }
    return whole;
}

std::string FileText(const std::string& path)
{
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/" + path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(ReadInPieces, GivesWhatTheWholeParseGives)
{
    qmtest::CaseBlockFile file("read_pieces/documents.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const Read whole = ExpectSameInPieces(c.input, c.name);
        file.Check(c, whole.read ? whole.compact : "error: " + whole.error);
    }
}

TEST(ReadInPieces, TheReaderCasesAndRealDocumentsReadTheSame)
{
    const char* const files[] = {"markup/reader.txt", "markup/documents.txt", "markup/white_space.txt",
        "markup/depth.txt", "repair_as_read/documents.txt"};
    for (const char* name : files) {
        qmtest::CaseBlockFile file(name);
        for (const qmtest::CaseBlock& c : file.Cases())
            ExpectSameInPieces(c.input, std::string(name) + ": " + c.name);
    }
    for (const char* name : {"markup/genesis.xhtml", "markup/pretty.xhtml"}) {
        const std::string text = FileText(name);
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_TRUE(ExpectSameInPieces(text, name).read) << name;
    }
}
