#pragma once
// Small WAV files written by tests: a sine tone, 16-bit mono.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace testing_support {

inline void WriteToneWav(const std::string& path, double frequency, double seconds, int rate = 22050,
                         double level = 0.5) {
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    std::vector<std::int16_t> data(frames);
    for (std::uint32_t i = 0; i < frames; ++i) {
        data[i] = static_cast<std::int16_t>(level * 32767.0 * std::sin(2.0 * M_PI * frequency * i / rate));
    }
    auto u32 = [](std::ofstream& out, std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](std::ofstream& out, std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::uint32_t bytes = frames * 2;
    out.write("RIFF", 4);
    u32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(out, 16);
    u16(out, 1);  // PCM
    u16(out, 1);  // mono
    u32(out, static_cast<std::uint32_t>(rate));
    u32(out, static_cast<std::uint32_t>(rate) * 2);
    u16(out, 2);
    u16(out, 16);
    out.write("data", 4);
    u32(out, bytes);
    out.write(reinterpret_cast<const char*>(data.data()), bytes);
}

}  // namespace testing_support
