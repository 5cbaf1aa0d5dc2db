#pragma once

#include <cstdint>

// Small, fast uniform generator (xoshiro256**), seeded through splitmix64 so
// that any 64-bit seed gives a well-mixed state.
class TD2Random final {
public:
    explicit TD2Random(uint64_t seed = 0) { reseed(seed); }

    void reseed(uint64_t seed)
    {
        for (uint64_t& word : m_s)
            word = splitMix(seed);
    }

    uint64_t next64()
    {
        const uint64_t result = rotl(m_s[1] * 5, 7) * 9;
        const uint64_t t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }

    // Uniform integer in [0, n), n > 0. The multiply-shift mapping of a 32-bit
    // draw is uniform up to n / 2^32, far below anything a plan could show.
    int32_t draw(int32_t n) { return int32_t((next64() >> 32) * uint64_t(n) >> 32); }

    static uint64_t splitMix(uint64_t& x)
    {
        uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

private:
    static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t m_s[4];
};
