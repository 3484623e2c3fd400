// The import child's work, counted where it happens, bounded, and shown to the parent.
#pragma once

#include <atomic>

namespace JetImport::WorkWatch {

// How far the child has come: written by the child, read by the parent.
struct Shared {
    std::atomic<unsigned long> done{0};
    std::atomic<unsigned long> expected{0};
};

// Memory shared with a child forked after it is made.
class SharedCounter {
public:
    SharedCounter();
    ~SharedCounter();
    SharedCounter(const SharedCounter&) = delete;
    SharedCounter& operator=(const SharedCounter&) = delete;

    Shared* Get() const { return shared_; }
    // 0 to 1; 0 while the child has said nothing of what it expects.
    double Fraction() const;

private:
    Shared* shared_ = nullptr;
};

// In the child, after fork: the counter the parent reads.
void UseShared(Shared* shared);

// In the child: from now on, every few milliseconds of processor time, *done is told to the
// parent and compared with `budget`; past it the child exits at once with `exitCode`. Work
// that loops inside a library without ever returning is bounded as well.
void Begin(const volatile unsigned long* done, unsigned long budget, unsigned long expected,
           int exitCode);

// In the child: the same comparison at once, for work too short to meet the timer.
void CheckNow();

// In the child: no further check, not even one already due, reads the counter; its owner may
// then free it.
void End();

} // namespace JetImport::WorkWatch
