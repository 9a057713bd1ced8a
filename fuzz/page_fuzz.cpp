// The test host's page reader on fuzzed text: a page is read or refused with
// a reason, never anything else; what is read keeps within the reader's
// limits and reads the same a second time.

#include "host/PageFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define QM_PAGE_CHECK(cond)                                                                                  \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "check failed: %s\n", #cond);                                               \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    qm::host::Page page;
    std::string error;
    if (!qm::host::ReadPage(text, page, error)) {
        QM_PAGE_CHECK(!error.empty());
        return 0;
    }
    QM_PAGE_CHECK(error.empty());
    QM_PAGE_CHECK(!page.module.empty() || text.find("module") != std::string::npos);
    QM_PAGE_CHECK(page.window.width >= 1 && page.window.width <= qm::host::kMaxWindowSide);
    QM_PAGE_CHECK(page.window.height >= 1 && page.window.height <= qm::host::kMaxWindowSide);
    std::size_t steps = page.steps.size();
    for (const qm::host::PageFunction& f : page.functions)
        steps += f.body.size();
    QM_PAGE_CHECK(steps <= qm::host::kMaxPageSteps);
    for (const qm::host::PageStep& s : page.steps) {
        QM_PAGE_CHECK(s.ms <= qm::host::kMaxAdvanceMs);
        QM_PAGE_CHECK(s.code < 128);
        for (const qm::host::ScriptValue& v : s.values)
            QM_PAGE_CHECK(!v.Describe().empty());
    }
    qm::host::Page again;
    QM_PAGE_CHECK(qm::host::ReadPage(text, again, error));
    QM_PAGE_CHECK(again.steps.size() == page.steps.size() && again.params.size() == page.params.size());
    return 0;
}
