// Writes the completion sound: a soft two-note chime (E5 then A5 with a fifth above it),
// 16-bit mono PCM at 44100 Hz, about 1.3 seconds. Run by the build; the output lies beside the
// program as sounds/ring001.wav.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

void put16(std::FILE* f, uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v & 0xff),
                                static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}
void put32(std::FILE* f, uint32_t v) {
    put16(f, static_cast<uint16_t>(v & 0xffff));
    put16(f, static_cast<uint16_t>(v >> 16));
}

// A bell-like note: a few harmonics, a quick attack and an exponential decay.
void addNote(std::vector<double>& buf, double start, double freq, double length, double gain) {
    const int first = static_cast<int>(start * kRate);
    const int count = static_cast<int>(length * kRate);
    for (int i = 0; i < count && first + i < static_cast<int>(buf.size()); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.008);
        const double env = attack * std::exp(-t * 4.2);
        const double s = std::sin(2 * kPi * freq * t) + 0.35 * std::sin(2 * kPi * 2 * freq * t) +
                         0.12 * std::sin(2 * kPi * 3.01 * freq * t);
        buf[static_cast<std::size_t>(first + i)] += gain * env * s;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    std::vector<double> buf(static_cast<std::size_t>(kRate * 1.3), 0.0);
    addNote(buf, 0.00, 659.26, 1.0, 0.30);  // E5
    addNote(buf, 0.18, 880.00, 1.1, 0.30);  // A5
    addNote(buf, 0.18, 1318.51, 1.1, 0.10); // E6, the fifth's shimmer
    // fade the tail so the file ends in silence
    const std::size_t fade = kRate / 10;
    for (std::size_t i = 0; i < fade; ++i)
        buf[buf.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(buf.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, 1); // mono
    put32(f, kRate);
    put32(f, kRate * 2);
    put16(f, 2);
    put16(f, 16);
    std::fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    for (double v : buf) {
        const double clipped = std::max(-1.0, std::min(1.0, v));
        put16(f, static_cast<uint16_t>(static_cast<int16_t>(std::lround(clipped * 30000))));
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
