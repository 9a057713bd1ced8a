#pragma once
// Runs a shell command for a test: its standard output (standard error
// dropped) and its exit status (-1 when it could not run or did not exit).

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace qmtest {

inline std::string RunCommand(const std::string& command, int& status)
{
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    std::string out;
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

} // namespace qmtest
