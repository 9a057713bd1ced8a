// The cascade on a large document: a sheet of 1,000 rules (type, class, id,
// attribute, descendant, child and adjacent selectors) and a document of
// about 1 MB of XHTML. Compares what the cascade costs with what loading the
// document costs:
//   LoadWithoutRules   markup read into a tree, no rules
//   LoadWithRules      the same with the 1,000 rules applied while reading
//   Cascade            every element's style computed again (StyleChanged(1)
//                      on the body) with the 1,000 rules
//   ParseSheet         the sheet's text into its rule list
// Run by hand: build/benchmarks/cascade_bench

#include <benchmark/benchmark.h>

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"

#include <random>
#include <string>

namespace {

std::string Document()
{
    std::string d = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>";
    for (int i = 0; d.size() < 1024 * 1024; ++i) {
        const std::string n = std::to_string(i);
        d += "<div class=\"section s" + std::to_string(i % 50) + "\" id=\"sec" + n + "\"><h2>Section " + n
            + "</h2><p class=\"note lead\">Some <em>text</em> with <a href=\"#x" + n
            + "\" title=\"t\">a link</a> and <strong>bold words</strong> here.</p><ul class=\"menu\"><li>one "
              "<span class=\"c"
            + std::to_string(i % 200)
            + "\">x</span></li><li lang=\"en\">two</li></ul><table><tr><td "
              "align=\"center\">a</td><td>b</td></tr></table></div>";
    }
    return d + "</body></html>";
}

std::string Sheet()
{
    static const char* kTags[]
        = {"p", "div", "span", "em", "a", "li", "ul", "td", "h2", "strong", "table", "tr"};
    std::mt19937 random(1);
    auto pick = [&random](int n) { return std::to_string(random() % n); };
    std::string s;
    for (int i = 0; i < 1000; ++i) {
        const std::string tag = kTags[random() % 12];
        std::string selector;
        switch (i % 8) {
        case 0: selector = tag; break;
        case 1: selector = ".c" + pick(400); break;
        case 2: selector = tag + ".s" + pick(80); break;
        case 3: selector = "#sec" + pick(5000); break;
        case 4: selector = "div.section " + tag; break;
        case 5: selector = "ul.menu > li " + tag + ".c" + pick(300); break;
        case 6: {
            const std::string n = pick(300);
            selector = "a[title].t" + n + ", p.note em.e" + n + ", h2 + p.p" + n;
            break;
        }
        default: selector = ".s" + pick(60) + " li:first-child"; break;
        }
        s += selector + " { color: #" + std::to_string(100000 + i)
            + "; margin-left: " + std::to_string(i % 20) + "px; text-align: right; font-weight: bold }\n";
    }
    return s;
}

const std::string& TheDocument()
{
    static const std::string d = Document();
    return d;
}

const std::string& TheSheet()
{
    static const std::string s = Sheet();
    return s;
}

void LoadSheet(CXHTML& engine)
{
    CSafeBuf text;
    text.AssignUTF8(TheSheet().c_str());
    engine.m_doc.LoadStyleClass(text, 0, false, 0);
}

void Load(benchmark::State& state, bool rules)
{
    const std::string& markup = TheDocument();
    for (auto _ : state) {
        state.PauseTiming();
        CXHTML engine;
        if (rules)
            LoadSheet(engine);
        auto* document = new CMarkupDocument(&engine);
        CSafeBuf error;
        state.ResumeTiming();
        document->Read(markup.data(), markup.size(), error);
        state.PauseTiming();
        delete document;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(markup.size()));
}

void LoadWithoutRules(benchmark::State& state) { Load(state, false); }
void LoadWithRules(benchmark::State& state) { Load(state, true); }

void Cascade(benchmark::State& state)
{
    CXHTML engine;
    LoadSheet(engine);
    CMarkupDocument document(&engine);
    CSafeBuf error;
    document.Read(TheDocument().data(), TheDocument().size(), error);
    for (auto _ : state)
        document.Body()->StyleChanged(1);
}

void ParseSheet(benchmark::State& state)
{
    for (auto _ : state) {
        CXHTML engine;
        LoadSheet(engine);
    }
}

} // namespace

BENCHMARK(LoadWithoutRules)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadWithRules)->Unit(benchmark::kMillisecond);
BENCHMARK(Cascade)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseSheet)->Unit(benchmark::kMillisecond);
