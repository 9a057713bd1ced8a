#pragma once
// An environment variable changed for a scope: the value it had (or its
// absence) comes back when the scope ends, whatever the test set meanwhile.

#include <cstdlib>
#include <string>

namespace qmtest {

class ScopedEnv
{
public:
    // Remembers the variable and leaves it as it is.
    explicit ScopedEnv(const char* name) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_had = true;
            m_old = old;
        }
    }
    // Remembers the variable, then sets it (null: removes it).
    ScopedEnv(const char* name, const char* value) : ScopedEnv(name) { Set(value); }
    ~ScopedEnv()
    {
        if (m_had)
            ::setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const char* value)
    {
        if (value)
            ::setenv(m_name.c_str(), value, 1);
        else
            ::unsetenv(m_name.c_str());
    }

private:
    std::string m_name, m_old;
    bool m_had = false;
};

} // namespace qmtest
