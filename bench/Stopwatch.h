#pragma once
// Wall-clock milliseconds of f; the processor time the process spent meanwhile is added to
// *cpuMs, which on a shared machine compares better between runs.
#include <chrono>
#include <ctime>

inline double ProcessCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

template <typename F> double TimeMs(F&& f, double* cpuMs = nullptr)
{
    const double cpuStart = ProcessCpuMs();
    const auto start = std::chrono::steady_clock::now();
    f();
    if (cpuMs)
        *cpuMs += ProcessCpuMs() - cpuStart;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}
