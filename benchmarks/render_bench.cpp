// qm-render on the 1 MB book (benchmarks/make-book: the corpus pages' bodies
// in one document), each run a cold process: without --png (read, lay out,
// paint the first view) and with --png (the whole document painted band by
// band and written). Run by hand from a release build:
// build/benchmarks/render_bench (QM_BENCH_DOCUMENT names another document).
//
// Goals: with --png at most 3 s and 150 MB peak; without, at most 80 MB
// peak. Counters: *_peak_MB (VmHWM as the process exits), *_s (wall time,
// mean), *_cpu_s (processor time of every thread, mean: on a shared machine
// the wall time counts the waits too) and png_MB (the file's size).

#include "benchmarks/BenchTool.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/stat.h>

namespace {

// The book, made once into a temporary file (100 KB of it in the short
// runs of the tests) and removed as the process ends; an empty path when
// it cannot be made.
struct Book
{
    std::string path;
    bool made = false;
    ~Book()
    {
        if (made)
            std::remove(path.c_str());
    }
};

const std::string& BookPath()
{
    static const Book book = [] {
        Book b;
        if (const char* given = std::getenv("QM_BENCH_DOCUMENT")) {
            b.path = given;
            return b;
        }
        const std::string out = "/tmp/qm-render-bench-book-" + std::to_string(getpid()) + ".xhtml";
        const char* bytes = std::getenv("QM_BENCH_SHORT") ? "100000" : "1000000";
        const std::string command = std::string("python3 '") + QM_SOURCE_DIR + "/benchmarks/make-book' '"
            + out + "' " + bytes + " 2>/dev/null";
        b.made = std::system(command.c_str()) == 0;
        if (b.made)
            b.path = out;
        return b;
    }();
    return book.path;
}

void BM_RenderBook(benchmark::State& state)
{
    const std::string book = BookPath();
    if (book.empty()) {
        state.SkipWithError("the book cannot be made (benchmarks/make-book needs python3)");
        return;
    }
    const std::string png = book + ".png";
    BenchToolRun plain, picture;
    double plainS = 0, plainCpu = 0, pngS = 0, pngCpu = 0, plainMB = 0, pngMB = 0;
    for (auto _ : state) {
        if (!BenchRunTool(QM_RENDER_TOOL, {book}, plain)
            || !BenchRunTool(QM_RENDER_TOOL, {"--png", png, book}, picture)) {
            state.SkipWithError("qm-render failed");
            break;
        }
        plainS += plain.seconds;
        plainCpu += plain.cpuSeconds;
        plainMB = std::max(plainMB, plain.peakMB);
        pngS += picture.seconds;
        pngCpu += picture.cpuSeconds;
        pngMB = std::max(pngMB, picture.peakMB);
    }
    struct stat st
    { };
    const double fileMB = stat(png.c_str(), &st) == 0 ? static_cast<double>(st.st_size) / 1e6 : 0;
    std::remove(png.c_str());
    const double n = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["render_peak_MB"] = plainMB;
    state.counters["render_s"] = plainS / n;
    state.counters["render_cpu_s"] = plainCpu / n;
    state.counters["png_peak_MB"] = pngMB;
    state.counters["png_s"] = pngS / n;
    state.counters["png_cpu_s"] = pngCpu / n;
    state.counters["png_MB"] = fileMB;
}

} // namespace

BENCHMARK(BM_RenderBook)->Iterations(std::getenv("QM_BENCH_SHORT") ? 1 : 3)->Unit(benchmark::kMillisecond);
