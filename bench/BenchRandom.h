#pragma once

#include <cstdint>

// A small generator with a fixed, documented sequence (SplitMix64). The standard library's
// distributions differ between implementations, so they would not give the same dictionary on
// every machine; this does.
class BenchRandom {
public:
    explicit BenchRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0 .. n-1; the tiny modulo bias is irrelevant for test data.
    int Below(int n) { return n <= 0 ? 0 : int(Next() % std::uint64_t(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    // True with the given chance in percent (fractions allowed).
    bool Chance(double percent) { return double(Next() % 1000000) < percent * 10000.0; }

    template <typename T, int N> const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

private:
    std::uint64_t state_;
};
