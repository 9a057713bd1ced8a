#include "base/app/PropExchange.h"

#include "base/text/Ascii.h"

CPropExchange::CPropExchange(const char** names, const char** values, int count)
    : m_names(names),
      m_values(values),
      m_count(names != nullptr && values != nullptr && count > 0 ? count : 0)
{ }

void CPropExchange::GetValue(const char* name, CSafeBuf& value, const char*) const
{
    value.Empty();
    if (name == nullptr)
        return;
    for (int i = 0; i < m_count; ++i) {
        if (m_names[i] == nullptr || !EqualNoCase(m_names[i], name))
            continue;
        if (m_values[i] != nullptr)
            value.AssignUTF8(m_values[i]);
        return;
    }
}

void PX_String(CPropExchange* pe, const char* name, CSafeBuf& value, const char* defaultValue)
{
    if (pe == nullptr) {
        value.Empty();
        return;
    }
    pe->GetValue(name, value, defaultValue);
}
