// A profiling timer in the child compares its work counter with the budget.
#include "data/jet/WorkWatch.h"

#include <algorithm>
#include <csignal>
#include <sys/mman.h>
#include <sys/time.h>
#include <unistd.h>

namespace JetImport::WorkWatch {
namespace {

constexpr long kCheckEveryMicroseconds = 10000;

// The child is single-threaded and these are set before the timer starts.
Shared* g_shared = nullptr;
const volatile unsigned long* g_done = nullptr;
unsigned long g_budget = 0;
int g_exitCode = 1;

void Check(int) {
    if (!g_done)
        return;
    const unsigned long done = *g_done;
    if (g_shared)
        g_shared->done.store(done, std::memory_order_relaxed);
    if (done > g_budget)
        ::_exit(g_exitCode);
}

} // namespace

SharedCounter::SharedCounter() {
    void* memory =
        ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory != MAP_FAILED)
        shared_ = new (memory) Shared;
}

SharedCounter::~SharedCounter() {
    if (shared_) {
        shared_->~Shared();
        ::munmap(shared_, sizeof(Shared));
    }
}

double SharedCounter::Fraction() const {
    if (!shared_)
        return 0;
    const unsigned long expected = shared_->expected.load(std::memory_order_relaxed);
    if (expected == 0)
        return 0;
    const double done = double(shared_->done.load(std::memory_order_relaxed));
    return std::min(1.0, done / double(expected));
}

void UseShared(Shared* shared) {
    g_shared = shared;
}

void Begin(const volatile unsigned long* done, unsigned long budget, unsigned long expected,
           int exitCode) {
    g_done = done;
    g_budget = budget;
    g_exitCode = exitCode;
    if (g_shared)
        g_shared->expected.store(expected, std::memory_order_relaxed);
    struct sigaction action {};
    action.sa_handler = Check;
    action.sa_flags = SA_RESTART; // libmdb's reads must not fail with EINTR
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGPROF, &action, nullptr);
    // Processor time, user and system: a loop that computes and one that reads both advance it.
    itimerval every{};
    every.it_interval.tv_usec = kCheckEveryMicroseconds;
    every.it_value.tv_usec = kCheckEveryMicroseconds;
    ::setitimer(ITIMER_PROF, &every, nullptr);
}

void CheckNow() {
    Check(0);
}

void End() {
    sigset_t profiling;
    sigemptyset(&profiling);
    sigaddset(&profiling, SIGPROF);
    sigset_t before;
    ::sigprocmask(SIG_BLOCK, &profiling, &before);
    itimerval off{};
    ::setitimer(ITIMER_PROF, &off, nullptr);
    g_done = nullptr;
    // Ignoring the signal also drops a tick that came while it was blocked.
    ::signal(SIGPROF, SIG_IGN);
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
}

} // namespace JetImport::WorkWatch
