#pragma once
// What a layout left, for tests that compare two layouts of one document:
// the box dump with each element's baseline and available width, and the
// pixels of the body's bitmap down to its height.

#include "element/Element.h"
#include "element/TreeWalk.h"
#include "platform/cg/Context.h"
#include "style/layout/BoxDump.h"
#include "tests/common/TextHelpers.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace qmtest {

inline std::string LayoutRecords(CElement* body)
{
    CSafeBuf dump;
    GetBoxDump(body, dump);
    std::istringstream lines(ToUtf8(dump));
    std::ostringstream out;
    std::string line;
    for (CElement* e = body; e && std::getline(lines, line);) {
        out << line << " base=" << e->Lay().m_baseline.y
            << " avail=" << e->Lay().m_availRect.right - e->Lay().m_availRect.left << "\n";
        e = StepInSubtree(e, body);
    }
    return out.str();
}

inline std::vector<unsigned> BodyPixels(const CElement* body)
{
    std::vector<unsigned> out;
    const qm::cg::Context* ctx = body->m_dc.get();
    if (!ctx)
        return out;
    const int rows = std::min<int>(body->Lay().m_sizeRect.bottom, ctx->Height());
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < ctx->Width(); ++col) {
            const qm::cg::Pixel p = ctx->ReadPixel(col, row);
            out.push_back(unsigned(p.red) | unsigned(p.green) << 8 | unsigned(p.blue) << 16);
        }
    }
    return out;
}

} // namespace qmtest
