#include "plugin/ParamRules.h"

#include "base/text/U16.h"

#include <climits>

namespace {

CSafeBuf Trimmed(const CSafeBuf& value)
{
    CSafeBuf t(value);
    t.Trim();
    return t;
}

bool IsWord(const CSafeBuf& trimmed, const char* a, const char* b)
{
    return trimmed.CompareNoCase(a) == 0 || trimmed.CompareNoCase(b) == 0;
}

} // namespace

bool IsYesWord(const CSafeBuf& value) { return IsWord(Trimmed(value), "yes", "true"); }

int ReadDecimal(const CSafeBuf& value)
{
    const long number = U16toi(static_cast<const unsigned short*>(value));
    return number < INT_MIN || number > INT_MAX ? 0 : static_cast<int>(number);
}

void ApplySwitchRule(int rule, const CSafeBuf& value, unsigned char& target)
{
    const CSafeBuf t = Trimmed(value);
    const bool yes = IsWord(t, "yes", "true");
    switch (rule) {
    case 1:
        if (yes)
            target = 1;
        else if (!t.IsEmpty())
            target = 0;
        break;
    case 2: target = yes ? 1 : 0; break;
    case 3:
        if (yes)
            target = 1;
        else if (IsWord(t, "no", "false"))
            target = 0;
        break;
    case 4: {
        CSafeBuf lower(value);
        lower.MakeLower();
        target = lower.Find("no") < 0 && lower.Find("false") < 0 ? 1 : 0;
        break;
    }
    case 5:
        if (yes)
            target = 1;
        break;
    default: break;
    }
}
