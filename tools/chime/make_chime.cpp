// Writes the program's bell: a short two-note chime, as a 16-bit mono WAV.
// Made at build time so that the sound is the program's own.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_chime OUT.wav\n");
        return 2;
    }
    constexpr int Rate = 22050;
    constexpr double Pi = 3.14159265358979;
    const double length = 1.1; // seconds
    const int samples = int(Rate * length);
    // Two bell-like notes (E6 then B5) with soft overtones and exponential decay.
    struct Note {
        double start, freq, gain;
    } notes[] = {{0.0, 1318.5, 0.55}, {0.18, 987.8, 0.6}};
    std::vector<int16_t> pcm(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / Rate;
        double v = 0;
        for (const Note& n : notes) {
            const double u = t - n.start;
            if (u < 0)
                continue;
            const double attack = std::min(1.0, u / 0.004);
            const double env = attack * std::exp(-u * 4.5);
            v += n.gain * env *
                 (std::sin(2 * Pi * n.freq * u) + 0.35 * std::sin(2 * Pi * n.freq * 2.01 * u) * std::exp(-u * 6) +
                  0.15 * std::sin(2 * Pi * n.freq * 3.02 * u) * std::exp(-u * 9));
        }
        const double fadeOut = std::min(1.0, (length - t) / 0.05);
        pcm[size_t(i)] = int16_t(std::lround(std::clamp(v * fadeOut * 0.5, -1.0, 1.0) * 32767));
    }
    std::vector<uint8_t> out;
    const uint32_t data = uint32_t(samples * 2);
    for (char c : {'R', 'I', 'F', 'F'})
        out.push_back(uint8_t(c));
    Put32(out, 36 + data);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '})
        out.push_back(uint8_t(c));
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, Rate);
    Put32(out, Rate * 2);
    Put16(out, 2);
    Put16(out, 16);
    for (char c : {'d', 'a', 't', 'a'})
        out.push_back(uint8_t(c));
    Put32(out, data);
    for (int16_t s : pcm)
        Put16(out, uint16_t(s));
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "make_chime: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
