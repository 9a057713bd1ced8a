#pragma once
// Runs one of the tools (build/tools/qm-*) in a process of its own and
// measures it as a user would: its peak resident memory, its wall time and
// the processor time it used (which, on a machine shared with other work,
// says more than the wall time).

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct BenchToolRun
{
    double peakMB = 0;
    double seconds = 0;    // wall
    double cpuSeconds = 0; // user and system, every thread
};

// The peak resident memory of process pid in kilobytes (VmHWM), or -1.
inline long BenchPeakKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Runs tool with args (output to /dev/null); false when it cannot be run or
// does not exit with status 0. The peak is read as the process exits (it
// is traced, and stopped there): a forked process's own count would start
// from this process's memory.
inline bool BenchRunTool(const char* tool, const std::vector<std::string>& args, BenchToolRun& run)
{
    std::vector<char*> argv{const_cast<char*>(tool)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // LeakSanitizer cannot run in a traced process: a sanitizer build's
    // tool would end in an error instead of its work.
    std::string sanitizer = "detect_leaks=0";
    if (const char* given = std::getenv("ASAN_OPTIONS"))
        sanitizer = std::string(given) + ":" + sanitizer;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
        }
        setenv("ASAN_OPTIONS", sanitizer.c_str(), 1);
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        execv(tool, argv.data());
        _exit(127);
    }
    long peak = -1;
    int status = 0;
    rusage usage{};
    // Stopped at the exec: from then on it stops again as it exits.
    if (waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status))
        return false;
    ptrace(PTRACE_SETOPTIONS, pid, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACEEXIT));
    ptrace(PTRACE_CONT, pid, nullptr, nullptr);
    for (;;) {
        if (wait4(pid, &status, 0, &usage) != pid)
            return false;
        if (WIFEXITED(status) || WIFSIGNALED(status))
            break;
        int signal = 0;
        if (WIFSTOPPED(status)) {
            if ((status >> 8) == (SIGTRAP | (PTRACE_EVENT_EXIT << 8)))
                peak = BenchPeakKilobytes(pid);
            else if (WSTOPSIG(status) != SIGTRAP)
                signal = WSTOPSIG(status);
        }
        ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || peak < 0)
        return false;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMB = static_cast<double>(peak) / 1024.0;
    auto secs = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    run.cpuSeconds = secs(usage.ru_utime) + secs(usage.ru_stime);
    return true;
}
