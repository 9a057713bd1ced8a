// Editing a loaded document as a person would, through the entry points the
// control's events and commands use: the first byte picks one of a few
// documents (inline runs, lists, a table, a definition list, a pre), then
// each step of the input is a typed character, Return, Backspace, Delete,
// an arrow (with Shift, Option or Command), a click or a drag at points in
// the view, an editing command of the command table (inline formats, the
// style drop-list's headings and blocks, lists, indent and outdent, table
// rows, columns and cells, cut, copy and paste through the in-process
// clipboard, select all), undo or redo.
//
// After every step the caret element is live or none, and the document's
// text as undo keeps it (mode 6) is well-formed XML, and after an undo or
// redo it is the baseline the next snapshot starts from. At the end the input's
// edits are undone until nothing is left to undo: the text is then the one
// written right after loading, unless the undo list reached its limit and
// lost its oldest snapshots on the way. Take -dict=fuzz/xml.dict. With
// QM_EDIT_TRACE set, each step and the text after it go to stderr.

#include "fuzz/FuzzText.h"

#include "base/xml/XmlLoad.h"
#include "editor/StyleBarItem.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/np/Window.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// "|" stands for the caret.
const char* const kDocuments[] = {
    "<p>One <b>bold</b> and <i>ital|ic</i> text, <a href=\"x.htm\">a link</a>.</p>"
    "<p>Second <span class=\"c\">para</span><br />line two</p><h2>Head</h2><p></p>",
    "<ul><li>a|pple</li><li>banana<ul><li>inner</li></ul></li><li></li></ul>"
    "<ol><li>one</li><li>two</li></ol><p>after</p>",
    "<p>before</p><table border=\"1\"><caption>cap</caption><tr><td>a|1</td><td>b1</td></tr>"
    "<tr><td>a2</td><td rowspan=\"2\">b2</td></tr><tr><td>a3</td></tr></table><p>after</p>",
    "<dl><dt>te|rm</dt><dd>definition</dd><dt>second</dt><dd>more <b>text</b></dd></dl><p>x</p>",
    "<pre>line 1\n  li|ne 2\nline 3</pre><p>text <em>em</em></p><blockquote><p>quote</p></blockquote>",
};
constexpr unsigned kDocumentCount = sizeof kDocuments / sizeof kDocuments[0];

const unsigned int kTyped[] = {'a', 'Z', ' ', 0xA0, '<', '&', 0x4E2D, 0x05D0, 9};
constexpr unsigned kTypedCount = sizeof kTyped / sizeof kTyped[0];

// Left, right, up, down, Home, End.
const unsigned int kMoves[] = {28, 29, 30, 31, 1, 4};
constexpr unsigned kMoveCount = sizeof kMoves / sizeof kMoves[0];

// Commands of the command table the toolbar, the key map and the context
// menu post: inline formats, lists, indent and outdent, the table, list and
// definition-list commands, the clipboard, select all, delete, alignment.
const unsigned int kCommands[] = {32789, 32790, 32815, 32842, 32843, 32796, 32801, 32802, 32954, 32955, 32804,
    32803, 32828, 32829, 32780, 32781, 32782, 32783, 32797, 32798, 32799, 32800, 32817, 32825, 32826, 32827,
    32839, 32840, 32811, 32812, 32813, 32859, 32818, 32775, 32805, 32806, 32816, 32819, 32823, 32897, 32906,
    32914, 32915, 32916, 32917, 32918, 32919, 32920, 32921, 32924, 32925, 32926, 32927, 32928, 32929, 32930,
    32931, 32932, 32933, 32936, 32937, 32938, 32940, 32941, 32942, 32944};
constexpr unsigned kCommandCount = sizeof kCommands / sizeof kCommands[0];

constexpr unsigned kCommandMessage = 1;
constexpr unsigned kPickerMessage = 1100;
constexpr int kViewWidth = 300;
constexpr int kViewHeight = 300;
constexpr int kSteps = 40;

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    const int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes ? bytes : "", static_cast<size_t>(n > 0 ? n : 0));
    delete[] bytes;
    return out;
}

std::string UndoText(CXHTML& engine)
{
    CSafeBuf text;
    engine.m_doc.GetSourceCode(text, 6, false);
    return Utf8(text);
}

void CheckStep(CXHTML& engine)
{
    CXDoc& doc = engine.m_doc;
    QM_FUZZ_CHECK(!doc.m_caretElement || doc.IsElementExist(doc.m_caretElement));
    const std::string text = "<r>" + UndoText(engine) + "</r>";
    xmlDoc* parsed = LoadXMLBytes(text.data(), text.size());
    if (!parsed)
        std::fprintf(stderr, "not well-formed: %s\n", text.c_str());
    QM_FUZZ_CHECK(parsed != nullptr);
    XMLReleaseDom(parsed);
}

CPoint ConsumePoint(FuzzedDataProvider& fdp)
{
    const int x = fdp.ConsumeIntegralInRange(-4, kViewWidth + 4);
    const int y = fdp.ConsumeIntegralInRange(-4, kViewHeight / 2);
    return CPoint(x, y);
}

// One step; the modifiers the key map and the pointer read are held while
// it runs.
void Step(CXHTML& engine, STYLE_BAR_ITEM* styles, FuzzedDataProvider& fdp)
{
    qm::events::InputState& input = qm::events::Services::Get().Input();
    const std::uint8_t op = fdp.ConsumeIntegral<std::uint8_t>();
    const unsigned arg = op >> 4;
    input.modifiers = 0;
    switch (op & 15) {
    case 0:
    case 1:
    case 2: engine.OnChar(kTyped[(op >> 2) % kTypedCount], 1, 0); break;
    case 3: engine.OnChar(13, 1, 0); break;
    case 4: engine.OnChar(8, 1, 0); break;
    case 5: engine.OnChar(127, 1, 0); break;
    case 6: {
        // Bits of arg: Shift, Option, Command; the next byte the direction.
        input.modifiers = ((arg & 1) ? qm::events::kModShift : 0) | ((arg & 2) ? qm::events::kModOption : 0)
            | ((arg & 4) ? qm::events::kModCommand : 0);
        engine.OnChar(kMoves[fdp.ConsumeIntegral<std::uint8_t>() % kMoveCount], 1, 0);
        break;
    }
    case 7: {
        input.modifiers = (arg & 1) ? qm::events::kModShift : 0;
        const CPoint at = ConsumePoint(fdp);
        engine.OnLButtonDown(1, at);
        engine.OnLButtonUp(1, at);
        break;
    }
    case 8: {
        const CPoint from = ConsumePoint(fdp);
        const CPoint to = ConsumePoint(fdp);
        engine.OnLButtonDown(1, from);
        input.buttons = qm::events::kButtonPrimary;
        engine.OnMouseMove(2, CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        engine.OnMouseMove(2, to);
        input.buttons = 0;
        engine.OnLButtonUp(1, to);
        break;
    }
    case 9:
    case 10:
    case 11:
        engine.PostMessage(
            kCommandMessage, kCommands[fdp.ConsumeIntegral<std::uint8_t>() % kCommandCount], 0);
        break;
    case 12: {
        // A row of the style drop-list: headings, blocks, wrappers, classes.
        int rows = 0;
        for (STYLE_BAR_ITEM* item = styles; item; item = item->next)
            ++rows;
        if (rows > 0)
            engine.PostMessage(kCommandMessage, kFirstStyleCommandId + arg % unsigned(rows), 0);
        break;
    }
    case 13: {
        // A layout table of up to 3 x 3 picked in the size picker.
        const unsigned rows = 1 + arg % 3, columns = 1 + (arg >> 2) % 3;
        engine.PostMessage(kPickerMessage, 0, rows << 8 | columns);
        break;
    }
    case 14: engine.OnUndo(); break;
    default: engine.OnRedo(); break;
    }
    input.modifiers = 0;
    input.buttons = 0;
    engine.m_doc.ReleaseRemovedElements();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    FuzzedDataProvider fdp(data, size);

    // The control keeps the style drop-list that the bundle's style
    // document gives; the engine uses it as the control's.
    static CMorvaXEditorCtrl* control = [] {
        auto* made = new CMorvaXEditorCtrl();
        made->LoadStyleBar();
        return made;
    }();
    qm::events::Services::Get().Pasteboards().Clipboard().Clear();
    control->StyleRemoveMarks();
    control->StyleSetCurSel(-1);

    CXHTML engine;
    engine.m_control = control;
    engine.m_controlOptions = &control->Options;
    engine.m_styleItems = control->m_styleItems;
    NPWindow window{};
    window.width = kViewWidth;
    window.height = kViewHeight;
    window.clipRect = {0, 0, kViewHeight, kViewWidth};
    engine.m_window = &window;
    engine.m_doc.m_windowRect = CRect(0, 0, kViewWidth, kViewHeight);
    engine.m_doc.m_viewRect = CRect(0, 0, kViewWidth, kViewHeight);
    engine.m_doc.m_viewWidth = kViewWidth;
    engine.AssignWnd();

    std::string markup = kDocuments[fdp.ConsumeIntegral<std::uint8_t>() % kDocumentCount];
    markup.replace(markup.find('|'), 1, kCaretMarker);
    CSafeBuf units;
    units.AssignUTF8(markup.c_str());
    if (!engine.LoadDocument(units))
        return 0;
    const std::string first = UndoText(engine);
    CheckStep(engine);

    static const bool trace = std::getenv("QM_EDIT_TRACE") != nullptr;
    if (trace)
        std::fprintf(stderr, "loaded: %s\n", first.c_str());
    bool lostSnapshots = false;
    for (int step = 0; step < kSteps && fdp.remaining_bytes() > 0; ++step) {
        const unsigned op = data[fdp.remaining_bytes() - 1];
        Step(engine, control->m_styleItems, fdp);
        CheckStep(engine);
        // Undo and redo leave the document as they loaded it: no change
        // pending that the next undo would have to take first.
        if ((op & 15) >= 14 && UndoText(engine) != Utf8(engine.m_doc.m_sourceBaseline)) {
            std::fprintf(stderr, "present:\n%s\nbaseline:\n%s\n", UndoText(engine).c_str(),
                Utf8(engine.m_doc.m_sourceBaseline).c_str());
            QM_FUZZ_CHECK(!"undo or redo left a change pending");
        }
        if (trace)
            std::fprintf(stderr, "step %d (op %u, kind %u, undo %d): %s\n", step, op, op & 15,
                int(engine.m_doc.m_undoList.GetCount()), UndoText(engine).c_str());
        if (engine.m_doc.m_undoList.GetCount() >= CXDoc::kUndoLimit)
            lostSnapshots = true;
    }

    // Undo to the start: while snapshots remain, and once more for a change
    // made since the last one.
    for (int i = 0; i <= CXDoc::kUndoLimit + 1 && engine.m_doc.m_undoList.GetCount() > 0; ++i) {
        engine.OnUndo();
        CheckStep(engine);
    }
    engine.OnUndo();
    CheckStep(engine);
    if (!lostSnapshots) {
        const std::string last = UndoText(engine);
        if (last != first)
            std::fprintf(
                stderr, "undo did not restore the document:\n%s\n----\n%s\n", first.c_str(), last.c_str());
        QM_FUZZ_CHECK(last == first);
    }
    engine.m_styleItems = nullptr;
    return 0;
}
