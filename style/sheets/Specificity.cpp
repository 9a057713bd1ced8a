#include "style/sheets/Specificity.h"

#include "style/sheets/StyleClass.h"

#include <limits>
#include <vector>

namespace {

std::uint32_t Weight(const SELECTOR_STATEMENT& s)
{
    switch (s.kind) {
    case kSelectorId: return 0x10000;
    case kSelectorAttribute:
    case kSelectorLang:
    case kSelectorFirstChild: return 0x100;
    case kSelectorClass: {
        // One weight for each space-separated name.
        std::uint32_t names = 0;
        bool inName = false;
        for (int i = 0; i < s.value.Length(); ++i) {
            const bool space = s.value.GetAt(i) == ' ';
            if (!space && !inName)
                ++names;
            inName = !space;
        }
        return names * 0x100;
    }
    case kSelectorType:
    case kSelectorFirstLine:
    case kSelectorFirstLetter:
    case kSelectorBefore:
    case kSelectorAfter: return 1;
    default: return 0;
    }
}

} // namespace

std::uint32_t CalcSelect(const SELECTOR_STATEMENT* statement)
{
    constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t sum = 0;
    std::vector<const SELECTOR_STATEMENT*> pending;
    if (statement)
        pending.push_back(statement);
    while (!pending.empty()) {
        const SELECTOR_STATEMENT* s = pending.back();
        pending.pop_back();
        const std::uint32_t w = Weight(*s);
        sum = w > kMax - sum ? kMax : sum + w;
        if (s->nextStep)
            pending.push_back(s->nextStep);
        if (s->nextCondition)
            pending.push_back(s->nextCondition);
    }
    return sum;
}

void CalcSelectPrecedence(STYLE_CLASS* rule)
{
    if (!rule)
        return;
    for (STYLE_SELECTOR* s = rule->selectors; s; s = s->next)
        s->specificity = CalcSelect(s->statement);
    rule->precedence = 0;
}
