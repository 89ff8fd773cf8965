// Sound effects: short synthesised sounds written as 16-bit mono 22050 Hz PCM WAVE files.
//
// Each effect is built from a few voices (square, triangle, sine, filtered noise) with pitch
// sweeps and envelopes, mixed into a float buffer, normalised, and faded at both ends so
// that nothing clicks.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"

#include <algorithm>
#include <cmath>

namespace vorn::assetgen {

namespace {

    constexpr int kRate = 22050;
    constexpr double kTau = 6.283185307179586;

    enum class Wave { Sine,
        Square,
        Triangle,
        Saw,
        Noise };

    struct Buffer {
        std::vector<float> samples;
        explicit Buffer(double seconds)
            : samples(static_cast<std::size_t>(seconds * kRate), 0.0f)
        {
        }
    };

    // One voice: from `start` for `length` seconds, frequency gliding from f0 to f1, with an
    // attack and an exponential decay.
    struct Voice {
        Wave wave = Wave::Sine;
        double start = 0, length = 0.1;
        double f0 = 440, f1 = 440;
        double volume = 0.5;
        double attack = 0.005;
        double decay = 8.0; // decay rate per second (higher = shorter)
        double vibrato = 0; // depth in semitones
        double duty = 0.5;
    };

    Voice tone(Wave wave, double start, double length, double f0, double f1, double volume, double attack,
        double decay, double vibrato = 0, double duty = 0.5)
    {
        Voice v;
        v.wave = wave;
        v.start = start;
        v.length = length;
        v.f0 = f0;
        v.f1 = f1;
        v.volume = volume;
        v.attack = attack;
        v.decay = decay;
        v.vibrato = vibrato;
        v.duty = duty;
        return v;
    }

    void addVoice(Buffer& b, const Voice& v, std::uint32_t seed = 1)
    {
        const std::size_t first = static_cast<std::size_t>(v.start * kRate);
        const std::size_t count = static_cast<std::size_t>(v.length * kRate);
        double phase = 0;
        float noiseHeld = 0, low = 0;
        Rng rng(seed);
        for (std::size_t i = 0; i < count && first + i < b.samples.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double u = t / v.length;
            double f = v.f0 * std::pow(v.f1 / v.f0, u);
            if (v.vibrato > 0)
                f *= std::pow(2.0, v.vibrato * std::sin(kTau * 6.0 * t) / 12.0);
            phase += f / kRate;
            phase -= std::floor(phase);
            double s = 0;
            switch (v.wave) {
            case Wave::Sine:
                s = std::sin(kTau * phase);
                break;
            case Wave::Square:
                s = phase < v.duty ? 0.6 : -0.6;
                break;
            case Wave::Triangle:
                s = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
                break;
            case Wave::Saw:
                s = (2 * phase - 1) * 0.6;
                break;
            case Wave::Noise: {
                // Noise resampled at the voice frequency, then smoothed: f sets the colour.
                if (phase < f / kRate)
                    noiseHeld = rng.unit() * 2 - 1;
                low += (noiseHeld - low) * 0.5f;
                s = low;
                break;
            }
            }
            double env = t < v.attack ? t / v.attack : std::exp(-v.decay * (t - v.attack));
            // A 4 ms release at the end of the voice.
            const double left = v.length - t;
            if (left < 0.004)
                env *= left / 0.004;
            b.samples[first + i] += static_cast<float>(s * env * v.volume);
        }
    }

    // A note of a small bell-like chord instrument: a sine with a quiet fifth above.
    void bell(Buffer& b, double start, double freq, double length, double volume)
    {
        addVoice(b, tone(Wave::Sine, start, length, freq, freq, volume, 0.003, 4.0));
        addVoice(b, tone(Wave::Sine, start, length, freq * 2.0, freq * 2.0, volume * 0.25, 0.003, 7.0));
        addVoice(b, tone(Wave::Triangle, start, length * 0.6, freq * 3.0, freq * 3.0, volume * 0.08, 0.002, 10.0));
    }

    double note(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

    std::vector<std::uint8_t> toWave(const Buffer& b)
    {
        float peak = 0;
        for (float s : b.samples)
            peak = std::max(peak, std::abs(s));
        const float gain = peak > 0 ? 0.7f / peak : 0.0f;
        const std::size_t n = b.samples.size();
        const std::size_t fade = std::min<std::size_t>(n / 2, kRate / 200);
        std::vector<std::uint8_t> out;
        auto u32 = [&](std::uint32_t v) {
            for (int k = 0; k < 4; ++k)
                out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
        };
        auto u16 = [&](std::uint32_t v) {
            out.push_back(static_cast<std::uint8_t>(v));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        };
        auto tag = [&](const char* t) {
            for (int k = 0; k < 4; ++k)
                out.push_back(static_cast<std::uint8_t>(t[k]));
        };
        out.reserve(44 + n * 2);
        const std::uint32_t dataBytes = static_cast<std::uint32_t>(n * 2);
        tag("RIFF");
        u32(36 + dataBytes);
        tag("WAVE");
        tag("fmt ");
        u32(16);
        u16(1); // PCM
        u16(1); // mono
        u32(kRate);
        u32(kRate * 2);
        u16(2);
        u16(16);
        tag("data");
        u32(dataBytes);
        for (std::size_t i = 0; i < n; ++i) {
            float s = b.samples[i] * gain;
            if (i < fade)
                s *= static_cast<float>(i) / fade;
            if (n - 1 - i < fade)
                s *= static_cast<float>(n - 1 - i) / fade;
            const int v = static_cast<int>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
            u16(static_cast<std::uint32_t>(v) & 0xFFFF);
        }
        return out;
    }

    Buffer bump()
    {
        Buffer b(0.16);
        addVoice(b, tone(Wave::Sine, 0, 0.16, 140, 55, 0.9, 0.002, 18));
        addVoice(b, tone(Wave::Noise, 0, 0.05, 1200, 400, 0.3, 0.001, 50), 3);
        return b;
    }

    Buffer battleStart()
    {
        Buffer b(0.9);
        addVoice(b, tone(Wave::Noise, 0, 0.5, 800, 6000, 0.35, 0.2, 3), 5);
        const int notes[6] = { 57, 60, 64, 69, 72, 76 };
        for (int k = 0; k < 6; ++k)
            addVoice(b, tone(Wave::Square, 0.05 * k, 0.12, note(notes[k]), note(notes[k]), 0.3, 0.003, 10, 0, 0.25));
        addVoice(b, tone(Wave::Square, 0.32, 0.55, note(81), note(81), 0.3, 0.005, 4, 0.3, 0.25));
        addVoice(b, tone(Wave::Triangle, 0.32, 0.55, note(57), note(57), 0.5, 0.005, 3));
        return b;
    }

    Buffer hit()
    {
        Buffer b(0.2);
        addVoice(b, tone(Wave::Noise, 0, 0.2, 9000, 2500, 0.8, 0.001, 22), 7);
        addVoice(b, tone(Wave::Sine, 0, 0.12, 220, 70, 0.7, 0.001, 25));
        return b;
    }

    Buffer damage()
    {
        Buffer b(0.32);
        addVoice(b, tone(Wave::Square, 0, 0.3, 260, 70, 0.5, 0.002, 9, 0, 0.4));
        addVoice(b, tone(Wave::Noise, 0, 0.25, 3000, 800, 0.5, 0.001, 14), 9);
        return b;
    }

    Buffer flee()
    {
        Buffer b(0.6);
        for (int k = 0; k < 4; ++k)
            addVoice(b, tone(Wave::Noise, 0.12 * k, 0.14, 2500 + 1200.0 * k, 6000 + 1500.0 * k, 0.6 - 0.1 * k, 0.03, 12),
                11 + static_cast<std::uint32_t>(k));
        addVoice(b, tone(Wave::Triangle, 0, 0.55, 900, 300, 0.3, 0.01, 4));
        return b;
    }

    Buffer fanfare()
    {
        Buffer b(1.9);
        struct N {
            double t, len;
            int n;
        };
        const N melody[] = { { 0.0, 0.11, 72 }, { 0.12, 0.11, 72 }, { 0.24, 0.11, 72 }, { 0.36, 0.34, 72 },
            { 0.72, 0.34, 68 }, { 1.08, 0.34, 70 }, { 1.44, 0.45, 72 } };
        for (const N& m : melody) {
            addVoice(b, tone(Wave::Square, m.t, m.len, note(m.n), note(m.n), 0.28, 0.004, 2.5, 0.15, 0.3));
            addVoice(b, tone(Wave::Square, m.t, m.len, note(m.n - 5), note(m.n - 5), 0.16, 0.004, 2.5, 0, 0.5));
        }
        addVoice(b, tone(Wave::Triangle, 0.36, 0.35, note(48), note(48), 0.5, 0.004, 2));
        addVoice(b, tone(Wave::Triangle, 0.72, 0.35, note(44), note(44), 0.5, 0.004, 2));
        addVoice(b, tone(Wave::Triangle, 1.08, 0.35, note(46), note(46), 0.5, 0.004, 2));
        addVoice(b, tone(Wave::Triangle, 1.44, 0.45, note(48), note(48), 0.5, 0.004, 2));
        return b;
    }

    Buffer spell()
    {
        Buffer b(0.8);
        addVoice(b, tone(Wave::Sine, 0, 0.8, 400, 1600, 0.5, 0.05, 2.5, 0.4));
        addVoice(b, tone(Wave::Sine, 0.05, 0.75, 600, 2400, 0.25, 0.05, 3, 0.4));
        for (int k = 0; k < 8; ++k)
            addVoice(b, tone(Wave::Sine, 0.08 * k, 0.1, 2000.0 + 300 * ((k * 5) % 7), 2000.0 + 300 * ((k * 5) % 7), 0.2, 0.002, 30));
        return b;
    }

    Buffer healing()
    {
        Buffer b(1.0);
        const int notes[5] = { 72, 76, 79, 84, 88 };
        for (int k = 0; k < 5; ++k)
            bell(b, 0.09 * k, note(notes[k]), 0.6, 0.4);
        addVoice(b, tone(Wave::Sine, 0, 1.0, note(60), note(60), 0.15, 0.2, 2));
        return b;
    }

    Buffer doorSound()
    {
        Buffer b(0.5);
        addVoice(b, tone(Wave::Saw, 0, 0.32, 180, 240, 0.25, 0.03, 2, 0.8));
        addVoice(b, tone(Wave::Saw, 0, 0.32, 362, 470, 0.1, 0.03, 2, 0.8));
        addVoice(b, tone(Wave::Sine, 0.34, 0.16, 120, 60, 0.8, 0.002, 20));
        addVoice(b, tone(Wave::Noise, 0.34, 0.08, 2000, 600, 0.3, 0.001, 40), 21);
        return b;
    }

    Buffer chestSound()
    {
        Buffer b(0.9);
        addVoice(b, tone(Wave::Noise, 0, 0.05, 5000, 3000, 0.5, 0.001, 60), 23);
        addVoice(b, tone(Wave::Sine, 0, 0.08, 300, 200, 0.5, 0.001, 30));
        const int notes[4] = { 79, 83, 86, 91 };
        for (int k = 0; k < 4; ++k)
            bell(b, 0.12 + 0.07 * k, note(notes[k]), 0.5, 0.35);
        return b;
    }

    Buffer step()
    {
        Buffer b(0.07);
        addVoice(b, tone(Wave::Noise, 0, 0.07, 1500, 700, 0.6, 0.002, 45), 25);
        addVoice(b, tone(Wave::Sine, 0, 0.05, 160, 110, 0.3, 0.001, 60));
        return b;
    }

    Buffer levelUp()
    {
        Buffer b(1.4);
        const int notes[8] = { 67, 71, 74, 79, 74, 79, 83, 86 };
        for (int k = 0; k < 8; ++k) {
            const double t = k < 4 ? 0.07 * k : 0.35 + 0.1 * (k - 4);
            addVoice(b, tone(Wave::Square, t, 0.16, note(notes[k]), note(notes[k]), 0.25, 0.003, 6, 0, 0.25));
        }
        addVoice(b, tone(Wave::Square, 0.8, 0.6, note(91), note(91), 0.25, 0.005, 3, 0.25, 0.25));
        addVoice(b, tone(Wave::Square, 0.8, 0.6, note(86), note(86), 0.15, 0.005, 3, 0, 0.5));
        addVoice(b, tone(Wave::Triangle, 0.8, 0.6, note(55), note(55), 0.5, 0.005, 2.5));
        return b;
    }

    Buffer innTune()
    {
        Buffer b(2.8);
        const int notes[7] = { 72, 76, 79, 77, 74, 71, 72 };
        const double times[7] = { 0, 0.3, 0.6, 0.9, 1.2, 1.5, 1.8 };
        for (int k = 0; k < 7; ++k)
            bell(b, times[k], note(notes[k]), k == 6 ? 0.95 : 0.5, 0.35);
        const int bass[3] = { 48, 53, 48 };
        for (int k = 0; k < 3; ++k)
            addVoice(b, tone(Wave::Triangle, k * 0.9, k == 2 ? 0.95 : 0.85, note(bass[k]), note(bass[k]), 0.35, 0.02, 1.5));
        return b;
    }

} // namespace

std::vector<NamedBytes> makeSoundEffects()
{
    return {
        { "don", toWave(bump()) },
        { "btl", toWave(battleStart()) },
        { "ATC", toWave(hit()) },
        { "dmg", toWave(damage()) },
        { "esc", toWave(flee()) },
        { "win", toWave(fanfare()) },
        { "mgc", toWave(spell()) },
        { "heal", toWave(healing()) },
        { "door", toWave(doorSound()) },
        { "chest", toWave(chestSound()) },
        { "step", toWave(step()) },
        { "levelup", toWave(levelUp()) },
        { "inn", toWave(innTune()) },
    };
}

} // namespace vorn::assetgen
