// Pasting and dropping fuzzed data into a small document: the clipboard
// gets fuzzed flavours (the editor's markup, another program's HTML, plain
// text, file URLs, a picture) and is pasted; then a drag with fuzzed
// flavours and token is dropped at a fuzzed point. No library service is
// set, so file URLs end in error bits and never reach the network. After
// each the caret element is in the tree (or there is none) and the
// document's markup reads back.
//
// Input: a flag byte (bit 0 pasting markup allowed, bit 1 images shown as
// text, bit 2 the drag is this editor's own, bits 3-5 pick the document),
// two bytes of drop point, then the flavours' texts separated by "\n%%\n":
// the editor's markup, HTML, plain text, a file URL, a picture. An empty
// text leaves its flavour out. Take -dict=fuzz/markup.dict.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/dnd/DragSession.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"
#include "platform/np/Window.h"
#include "plugin/MorvaXEditorCtrl.h"

#include "base/shims/Pasteboard.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kDocuments[] = {
    "<p>a|b</p>",
    "<pre>a|b</pre>",
    "<p style=\"-qm-lock: true\">a|b</p><p>c</p>",
    "<table><tr><td>|</td></tr></table>",
    "<p>a<img src=\"p.png\" alt=\"xy\" />|b</p>",
    "<ul><li>a|b</li></ul><dl><dt>t</dt><dd>d</dd></dl>",
    "<h2>a|b</h2><blockquote><p>q</p></blockquote>",
    "<p>|</p>",
};

const char* const kFlavors[]
    = {"public.quillmark", "public.html", "public.utf16-plain-text", "public.file-url", "public.tiff"};

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    std::string::size_type at = 0;
    for (;;) {
        const std::string::size_type cut = text.find("\n%%\n", at);
        parts.push_back(text.substr(at, cut == std::string::npos ? std::string::npos : cut - at));
        if (cut == std::string::npos)
            return parts;
        at = cut + 4;
    }
}

bool Wide(int flavor) { return flavor == 0 || flavor == 2; }

CSafeBuf Units(const std::string& utf8)
{
    CSafeBuf out;
    out.AssignUTF8(utf8.c_str());
    return out;
}

void Check(CXHTML& engine)
{
    CXDoc& doc = engine.m_doc;
    if (doc.m_caretElement && !doc.IsElementInTree(doc.m_caretElement))
        std::abort();
    CSafeBuf written;
    engine.GetSourceCode(written, 6);
    CXHTML again;
    if (!written.IsEmpty() && !again.LoadDocument(written))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3 || size > 16 * 1024)
        return 0;
    const std::uint8_t flags = data[0];
    const CPoint point(data[1], data[2]);
    const std::vector<std::string> parts
        = Split(std::string(reinterpret_cast<const char*>(data) + 3, size - 3));

    CMorvaXEditorCtrl control;
    control.EnablePasteMarkup = flags & 1;
    CXHTML engine;
    engine.m_control = &control;
    engine.m_imageDisplayMode = (flags & 2) ? 2 : 1;
    NPWindow window{};
    window.width = 300;
    window.height = 200;
    window.clipRect = {0, 0, 200, 300};
    engine.m_window = &window;
    engine.m_doc.m_windowRect = CRect(0, 0, 300, 200);
    std::string document = kDocuments[(flags >> 3) % (sizeof kDocuments / sizeof kDocuments[0])];
    document.replace(document.find('|'), 1, kCaretMarker);
    if (!engine.LoadDocument(Units(document)))
        return 0;

    qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
    board.Clear();
    qm::dnd::DragSession drag;
    for (std::size_t i = 0; i < parts.size() && i < sizeof kFlavors / sizeof kFlavors[0]; ++i) {
        if (parts[i].empty())
            continue;
        const int flavor = static_cast<int>(i);
        if (Wide(flavor)) {
            const CSafeBuf units = Units(parts[i]);
            const std::size_t bytes = static_cast<std::size_t>(units.Length()) * 2;
            board.PutItemFlavor(1, kFlavors[i], static_cast<const unsigned short*>(units), bytes);
            drag.AddFlavor(1, flavor == 0 ? kFlavorEditorMarkup : kFlavorUnicodeText,
                static_cast<const unsigned short*>(units), bytes);
        } else {
            board.PutItemFlavor(1, kFlavors[i], parts[i].data(), parts[i].size());
            if (flavor == 3)
                drag.AddFlavor(2, kFlavorFileURL, parts[i].data(), parts[i].size());
        }
    }
    engine.OnPaste();
    Check(engine);

    const std::uint32_t token = (flags & 4) ? engine.m_doc.m_dragToken : engine.m_doc.m_dragToken + 1;
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(token >> (8 * i));
    drag.AddFlavor(1, kFlavorEditorTag, bytes, sizeof bytes);
    engine.ReceiveDrop(drag, point);
    Check(engine);
    return 0;
}
