#pragma once
// Runs work on a thread with a stack of the given size and waits for it, so
// that a test can show that a pass over a deep tree stays within a stack
// smaller than the main thread's. Answers false when the thread could not
// be started.

#include <pthread.h>

#include <cstddef>
#include <functional>

namespace qmtest {

inline bool RunOnSmallStack(const std::function<void()>& work, size_t stackBytes)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer puts red zones around the locals of every function
    // inlined into a frame: an optimised recursive pass takes many times the
    // stack it takes in a release build, which the budget is for.
    stackBytes *= 2;
#endif
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stackBytes);
    pthread_t thread;
    auto run = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    bool started = pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&work)) == 0;
    pthread_attr_destroy(&attr);
    if (started)
        pthread_join(thread, nullptr);
    return started;
}

} // namespace qmtest
