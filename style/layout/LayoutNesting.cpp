// The nesting count and the pass number: one layout runs at a time, on the
// main thread.

#include "style/layout/LayoutNesting.h"

#include "element/Element.h"

namespace {

int g_nesting = 0;
unsigned long g_pass = 0;
unsigned long g_lastPass = 0;
bool g_fromRoot = false;

} // namespace

LayoutNesting::LayoutNesting(const CElement* e)
{
    if (g_nesting == 0) {
        g_pass = ++g_lastPass;
        if (g_pass == 0)
            g_pass = ++g_lastPass;
        g_fromRoot = !e->m_parent;
    }
    ++g_nesting;
    m_tooDeep = g_nesting > kMaxLayoutNesting;
}

LayoutNesting::~LayoutNesting()
{
    if (--g_nesting == 0)
        g_pass = 0;
}

unsigned long LayoutNesting::CurrentPass() { return g_pass; }

bool LayoutNesting::PassFromRoot() { return g_fromRoot; }
