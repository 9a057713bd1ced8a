#pragma once
// CPropExchange: a view of the plug-in tag's parameters, as the plug-in
// instance holds them (names 8-bit, values UTF-8). It copies nothing: the
// arrays stay its creator's and must outlive it.

#include "base/text/SafeBuf.h"

class CPropExchange
{
public:
    // A null array or a negative count gives an empty view.
    CPropExchange(const char** names, const char** values, int count);

    // value is emptied, then receives, decoded from UTF-8, the value of the
    // first parameter whose name equals name without regard to ASCII case
    // (nothing when that value is null). The default is not applied here:
    // callers test for an empty value and apply their own.
    void GetValue(const char* name, CSafeBuf& value, const char* defaultValue = nullptr) const;

    int GetCount() const { return m_count; }

private:
    const char** m_names;
    const char** m_values;
    int m_count;
};

// The same as pe->GetValue; a null pe leaves value empty.
void PX_String(CPropExchange* pe, const char* name, CSafeBuf& value, const char* defaultValue = nullptr);
