#pragma once
// The one random generator of the engine. Seeded once; the same seed gives
// the same draws, so study runs and tests are exact.
#include <QtGlobal>
#include <random>

class TRandom {
public:
    explicit TRandom(quint32 seed = std::random_device{}()) : m_gen(seed) {}
    void Seed(quint32 seed) { m_gen.seed(seed); }
    // Uniform integer 0..n-1 (0 when n <= 0).
    int Below(int n)
    {
        if (n <= 1)
            return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(m_gen);
    }
    // Uniform integer lo..hi, both included.
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    // Uniform real in [0, 1).
    double Unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_gen); }

private:
    std::mt19937 m_gen;
};
