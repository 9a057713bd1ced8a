// The markup source view on large sources (indented XHTML, one element a
// line, 256 KB and 1 MB):
//   Keystroke      one typed character in the middle of the text, with the
//                  edit, the rows and the redraw of the view (800 x 600)
//   SetTextWrap    the whole text given to the view with word wrap on,
//                  markers removed, lines and rows laid out and drawn
// Run by hand: build-rel/benchmarks/source_view_bench

#include <benchmark/benchmark.h>

#include "platform/input/KeyLayout.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"
#include "platform/ui/Window.h"
#include "source_view/ColoringEditor.h"

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<unsigned short> Source(std::size_t bytes)
{
    std::string s = "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n<body>\r\n";
    for (int i = 0; s.size() < bytes; ++i) {
        const std::string n = std::to_string(i);
        s += "\t<div class=\"section\" id=\"s" + n + "\">\r\n\t\t<h2>Section " + n
            + "</h2>\r\n\t\t<p class=\"note\">Some <em>text</em> with <a href=\"#x" + n
            + "\">a link</a> and words that run on long enough to wrap in a narrow window, "
              "&amp; more.</p>\r\n\t\t<!-- note "
            + n + " -->\r\n\t</div>\r\n";
        if (i == 200)
            s += "_x_Here_to_put_cursor_x_";
    }
    s += "</body>\r\n</html>\r\n";
    std::vector<unsigned short> units(s.begin(), s.end());
    units.push_back(0);
    return units;
}

// A source view on an 800 x 600 window of its own.
struct View
{
    View()
    {
        window.SetSize(800, 600);
        port.port = window.Port();
        record.window = &port;
        record.width = 800;
        record.height = 600;
        record.clipRect = NPRect{0, 0, 600, 800};
        view = std::make_unique<CColoringEditor>(&record);
        view->m_viewRect = CRect(0, 0, 800, 600);
        view->SetFocus();
    }

    qm::ui::Window window{"Source"};
    NP_Port port{};
    NPWindow record{};
    std::unique_ptr<CColoringEditor> view;
};

void Keystroke(benchmark::State& state)
{
    const auto text = Source(static_cast<std::size_t>(state.range(0)));
    View v;
    v.view->SetWrapMode(true);
    v.view->SetText(text.data());
    // In the middle of the text.
    v.view->SetSelection(v.view->TextLength() / 2, v.view->TextLength() / 2);
    EventRecord key{keyDown, static_cast<std::uint32_t>('a'), 0, qm::qd::Point{0, 0}, 0};
    for (auto _ : state) {
        v.view->HandleEvent(&key);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()));
}

void SetTextWrap(benchmark::State& state)
{
    const auto text = Source(static_cast<std::size_t>(state.range(0)));
    View v;
    v.view->SetWrapMode(true);
    for (auto _ : state) {
        v.view->SetText(text.data());
        benchmark::DoNotOptimize(v.view->Text().RowCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * (text.size() - 1)));
}

} // namespace

BENCHMARK(Keystroke)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(SetTextWrap)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
