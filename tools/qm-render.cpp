// qm-render [--width PX] [--css FILE]... [--png OUT.png] [--xhtml OUT.xhtml] [--boxes]
//           [--view WxH] [--scroll X,Y] [--caret X,Y] [--view-png OUT.png] FILE
//
// Loads the XHTML document or fragment FILE (UTF-8, or UTF-16 with its
// byte-order mark) into a document as the editor loads it (LoadDocument),
// with the style sheets given by --css, in order, as the page's style sheet:
// the tree is read, repaired, laid out at the width (800 pixels unless
// --width says otherwise) and given the document's offscreen bitmap, of
// which no rows are painted until a picture asks for them (no window shows
// the document). Then, as asked:
//
//   --png OUT.png      the painted document (its laid-out width and height),
//                      painted and written a band of rows at a time
//   --xhtml OUT.xhtml  the document written back, indented
//   --boxes            every element's tag path, document rectangle, kind,
//                      wrap state and line group, one element a line, on
//                      standard output (style/layout/BoxDump.h)
////   --view-png OUT.png the editor's view of the document: a window of the
//                      size --view gives (800 x 600 unless it says
//                      otherwise), the document laid out at its width (so
//                      --width is refused beside --view), scrolled to the
//                      document point --scroll gives (pulled back where the
//                      document ends), with the caret placed at the document
//                      point --caret gives (scrolled into the window unless
//                      --scroll is given)
//
// Pictures named by the document (background-image) are found relative to
// FILE's folder. A sheet, document or output that cannot be read or written,
// a document that does not load or a bitmap that cannot be had gives the
// reason on standard error and exit status 1; a wrong command line status 2.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupEncoding.h"
#include "platform/cg/PngExport.h"
#include "platform/qd/Port.h"
#include "style/layout/BoxDump.h"
#include "style/paint/BitmapSize.h"
#include "style/paint/DocumentPng.h"
#include "style/paint/OffscreenView.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kTool = "qm-render";

int Usage()
{
    std::fputs("usage: qm-render [--width PX] [--css FILE]... [--png OUT.png] [--xhtml OUT.xhtml] [--boxes]\n"
               "                 [--view WxH] [--scroll X,Y] [--caret X,Y] [--view-png OUT.png] FILE\n",
        stderr);
    return 2;
}

int Fail(const std::string& what)
{
    std::fprintf(stderr, "%s: %s\n", kTool, what.c_str());
    return 1;
}

std::string Utf8Of(const CSafeBuf& text)
{
    char* utf8 = nullptr;
    const int length = text.CreateUTF8Str(&utf8);
    std::string out(utf8 ? utf8 : "", utf8 && length > 0 ? static_cast<size_t>(length) : 0);
    delete[] utf8;
    return out;
}

// A width in pixels: digits only, from 1 up to what the bitmap can hold.
bool ParseWidth(const char* text, int& width)
{
    if (!text || !*text)
        return false;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno || *end || text[0] == '-' || text[0] == '+' || value < 1
        || value > kMaxBitmapWidth - kBitmapSlack)
        return false;
    width = static_cast<int>(value);
    return true;
}

// Two whole numbers from 0 up to limit joined by separator ("800x600",
// "0,1200").
bool ParsePair(const char* text, char separator, long limit, int& first, int& second)
{
    if (!text || !std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    errno = 0;
    char* end = nullptr;
    const long a = std::strtol(text, &end, 10);
    if (errno || *end != separator || !std::isdigit(static_cast<unsigned char>(end[1])))
        return false;
    const long b = std::strtol(end + 1, &end, 10);
    if (errno || *end || a > limit || b > limit)
        return false;
    first = static_cast<int>(a);
    second = static_cast<int>(b);
    return true;
}

// The document point X,Y an option gives; false, with the reason on
// standard error, for anything else.
bool ParsePoint(const char* option, const char* text, CPoint& point)
{
    int x = 0, y = 0;
    if (!ParsePair(text, ',', INT_MAX / 2, x, y)) {
        std::fprintf(stderr, "%s: %s takes a document point X,Y of whole pixels\n", kTool, option);
        return false;
    }
    point = CPoint(x, y);
    return true;
}

// What --view, --scroll and --caret ask of the view.
struct ViewRequest
{
    const char* png = nullptr;
    int width = 800;
    int height = 600;
    bool sized = false;
    bool scrolled = false;
    CPoint scroll;
    bool caret = false;
    CPoint caretPoint;
};

// The document as the editor's view shows it: a port of the view's size,
// the view and window rectangles over it, the scroll bars set from the
// laid-out document, the scroll offset and the caret, then the view drawn
// (CXDoc::Redraw) and the port's pixels written.
bool WriteView(CXHTML& engine, const ViewRequest& view)
{
    std::unique_ptr<qm::qd::Port> port(qm::qd::Port::Create(view.width, view.height));
    if (!port)
        return false;
    CXDoc& doc = engine.m_doc;
    doc.m_port = port.get();
    doc.m_viewWidth = view.width;
    doc.m_viewRect = CRect(0, 0, (view.width + 7) / 8 * 8, view.height);
    doc.m_windowRect = CRect(0, 0, view.width, view.height);
    doc.m_clipTop = 0;
    doc.m_clipLeft = 0;
    doc.m_clipBottom = static_cast<short>(view.height);
    doc.m_clipRight = static_cast<short>(view.width);
    doc.SetScrollBar();
    if (view.caret) {
        doc.m_caretEnabled = 1;
        doc.SetKeyToPosition(view.caretPoint, 1);
        doc.m_caretPhase = 1;
    }
    if (view.scrolled) {
        doc.m_scrollX = static_cast<int>(view.scroll.x);
        doc.m_scrollY = static_cast<int>(view.scroll.y);
    } else if (view.caret) {
        doc.AdjCursorPos();
    }
    doc.Redraw();
    const bool written = qm::cg::WritePNG(port->Surface(), view.png);
    doc.m_port = nullptr;
    return written;
}

bool ReadBytes(const char* path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    if (!in || !(out << in.rdbuf()))
        return false;
    bytes = out.str();
    return true;
}

bool WriteBytes(const char* path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return out && out.write(bytes.data(), std::streamsize(bytes.size())) && out.flush();
}

// The document's text from its bytes: UTF-16 after a byte-order mark, else
// UTF-8. False, with the reason, for bytes that are neither.
bool DecodeText(std::string bytes, CSafeBuf& text, std::string& reason)
{
    if (StartsWithUtf16Mark(bytes.data(), bytes.size())) {
        std::string utf8;
        CSafeBuf error;
        if (!Utf16MarkupToUtf8(bytes.data(), bytes.size(), utf8, error)) {
            error.Replace("<br />", "\n");
            reason = Utf8Of(error);
            return false;
        }
        bytes.swap(utf8);
    }
    CSafeBuf decoded;
    decoded.AssignUTF8(bytes.c_str());
    // Decoding drops what is not UTF-8, and a zero byte would end the text.
    if (Utf8Of(decoded) != bytes) {
        reason = "is not UTF-8 text";
        return false;
    }
    // The decoded buffer has room to spare (up to twice the text): the text
    // is held through the whole load, while the document is laid out and
    // painted, in a buffer of its own length.
    text.Empty();
    if (!text.Reserve(decoded.Length())) {
        reason = "is too large to be held";
        return false;
    }
    text += decoded;
    return true;
}

// The folder of path with its "/", against which the document's pictures
// are found; empty for a path without one.
std::string FolderOf(const char* path)
{
    const std::string p(path);
    const size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

} // namespace

int main(int argc, char** argv)
{
    int width = 800;
    std::vector<const char*> sheets;
    const char* png = nullptr;
    const char* xhtml = nullptr;
    bool boxes = false;
    bool widthGiven = false;
    ViewRequest view;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--width") == 0 && hasValue) {
            if (!ParseWidth(argv[++i], width)) {
                std::fprintf(stderr, "%s: --width takes a whole number of pixels from 1 to %d\n", kTool,
                    kMaxBitmapWidth - kBitmapSlack);
                return 2;
            }
            widthGiven = true;
        } else if (std::strcmp(argv[i], "--view") == 0 && hasValue) {
            if (!ParsePair(argv[++i], 'x', qm::cg::kMaxImageSide, view.width, view.height) || view.width < 1
                || view.height < 1 || view.width > kMaxBitmapWidth - kBitmapSlack) {
                std::fprintf(stderr, "%s: --view takes a size WxH in pixels, each from 1 to %d\n", kTool,
                    std::min(kMaxBitmapWidth - kBitmapSlack, qm::cg::kMaxImageSide));
                return 2;
            }
            view.sized = true;
        } else if (std::strcmp(argv[i], "--scroll") == 0 && hasValue) {
            if (!ParsePoint(argv[i], argv[i + 1], view.scroll))
                return 2;
            view.scrolled = true;
            ++i;
        } else if (std::strcmp(argv[i], "--caret") == 0 && hasValue) {
            if (!ParsePoint(argv[i], argv[i + 1], view.caretPoint))
                return 2;
            view.caret = true;
            ++i;
        } else if (std::strcmp(argv[i], "--view-png") == 0 && hasValue) {
            view.png = argv[++i];
        } else if (std::strcmp(argv[i], "--css") == 0 && hasValue) {
            sheets.push_back(argv[++i]);
        } else if (std::strcmp(argv[i], "--png") == 0 && hasValue) {
            png = argv[++i];
        } else if (std::strcmp(argv[i], "--xhtml") == 0 && hasValue) {
            xhtml = argv[++i];
        } else if (std::strcmp(argv[i], "--boxes") == 0) {
            boxes = true;
        } else if (!path && argv[i][0] != '-') {
            path = argv[i];
        } else {
            return Usage();
        }
    }
    if (!path)
        return Usage();
    const bool viewAsked = view.sized || view.scrolled || view.caret;
    if (viewAsked && !view.png) {
        std::fprintf(stderr, "%s: --view, --scroll and --caret describe the --view-png picture\n", kTool);
        return 2;
    }
    if (view.png) {
        if (widthGiven && view.sized) {
            std::fprintf(stderr,
                "%s: the view lays the document out at its own width: --width and --view "
                "cannot be combined\n",
                kTool);
            return 2;
        }
        if (!widthGiven)
            width = view.width;
        else
            view.width = width;
    }

#if defined(__GLIBC__)
    // Without a picture, the load's large buffers (the file's bytes, its
    // text, the parser's input) go back to the system when freed: with the
    // allocator's sliding threshold they would be carved from the heap,
    // whose freed room the layout that follows only partly fills. A picture
    // keeps the sliding threshold: its bands of rows reuse their buffers.
    if (!png && !view.png)
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    // The engine and its document are never taken apart: the process ends
    // once the output is written, and the system takes the memory back at
    // once where freeing the tree element by element would cost a walk of
    // it. Held by a static, the engine stays reachable until the end.
    static CXHTML* const held = new CXHTML;
    CXHTML& engine = *held;
    for (const char* sheet : sheets) {
        CSafeBuf location;
        location.AssignUTF8(sheet);
        if (!engine.m_doc.LoadStyleClass(location, 1, false, 0))
            return Fail(std::string(sheet) + ": cannot be read as a style sheet");
    }
    // The sheets are the page's: every load puts them before the document's
    // own rules.
    std::swap(engine.m_doc.m_savedRules, engine.m_doc.m_workingRules);
    engine.m_doc.RulesChanged();
    std::string bytes;
    if (!ReadBytes(path, bytes))
        return Fail(std::string(path) + ": cannot be read");
    engine.m_doc.m_baseURL.AssignUTF8(FolderOf(path).c_str());

    // Held until the tree is made: it is not kept beside the tree while the
    // pictures are made.
    auto text = std::make_unique<CSafeBuf>();
    std::string reason;
    if (!DecodeText(std::move(bytes), *text, reason))
        return Fail(std::string(path) + ": " + reason);
    // The view is the whole document at the width: no scroll bar appears,
    // so the tree is laid out once, at that width.
    constexpr int kWholeDocument = 1 << 30;
    engine.m_doc.m_viewWidth = width;
    engine.m_doc.m_viewRect = CRect(0, 0, width, kWholeDocument);
    engine.m_doc.m_windowRect = engine.m_doc.m_viewRect;
    // Once read into the tree, the text goes before the layout. No window
    // shows the document: no rows of it are kept painted beside it (the
    // pictures below paint the rows they write).
    const bool loaded = engine.m_doc.LoadDocument(*text, [&]() {
        text.reset();
        if (engine.m_doc.m_root)
            ShowDocumentRows(engine.m_doc.m_root, 0, 0);
    });
    if (!loaded)
        return Fail(std::string(path) + ": does not load (it does not parse as XML, or holds no body)");
    CElement* body = engine.m_doc.m_root;
    if (!body || !RepaintDocument(body))
        return Fail(std::string(path) + ": the document's bitmap cannot be had (too large or out of memory)");

    if (png) {
        switch (WriteDocumentPNG(body, png)) {
        case DocumentPngResult::Written: break;
        case DocumentPngResult::NotPainted:
            return Fail(std::string(png)
                + ": the painted rows cannot be had (nothing to paint, a band of rows too "
                  "wide to hold at once, or out of memory)");
        case DocumentPngResult::NotWritten: return Fail(std::string(png) + ": cannot be written");
        }
    }
    if (view.png && !WriteView(engine, view))
        return Fail(std::string(view.png) + ": cannot be written");
    if (xhtml) {
        CSafeBuf markup;
        engine.m_doc.GetSourceCode(markup, 1, false);
        if (!WriteBytes(xhtml, Utf8Of(markup)))
            return Fail(std::string(xhtml) + ": cannot be written");
    }
    if (boxes) {
        CSafeBuf dump;
        GetBoxDump(body, dump);
        const std::string text = Utf8Of(dump);
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
            return Fail("cannot write the boxes");
    }
    return 0;
}
