// Sound effects: short synthesised sounds written as 16-bit mono 22050 Hz PCM WAVE files.
//
// Each effect is built from a few voices (pulse, triangle, sine, saw, filtered noise) with pitch
// sweeps and envelopes. Voices are synthesised at four times the output rate with band-limited
// edges (PolyBLEP) and filtered down, so bright notes do not fold back as inharmonic sizzle.
// Every voice rings out after its written length until it has died away, the mix loses any
// steady offset, and the result is normalised with headroom and starts and ends at zero.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"

#include <algorithm>
#include <cmath>

namespace vorn::assetgen {

namespace {

    constexpr int kRate = 22050;
    constexpr int kOversample = 4;
    constexpr int kInnerRate = kRate * kOversample;
    constexpr double kTau = 6.283185307179586;

    enum class Wave { Sine,
        Square,
        Triangle,
        Saw,
        Noise };

    // The mix at the inner rate; it grows to hold every voice's tail.
    struct Buffer {
        std::vector<float> samples;
        explicit Buffer(double seconds)
            : samples(static_cast<std::size_t>(seconds * kInnerRate), 0.0f)
        {
        }
    };

    // One voice: from `start` for `length` seconds, frequency gliding from f0 to f1, with an
    // attack and an exponential decay; after `length` it dies away with the `release` time
    // constant instead of stopping.
    struct Voice {
        Wave wave = Wave::Sine;
        double start = 0, length = 0.1;
        double f0 = 440, f1 = 440;
        double volume = 0.5;
        double attack = 0.005;
        double decay = 8.0; // decay rate per second (higher = shorter)
        double vibrato = 0; // depth in semitones
        double duty = 0.5;
        double release = 0.035; // seconds for the tail to fall by a factor e
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

    // A voice that rings on after its length, as the last note of a tune does.
    Voice ringing(Voice v, double release)
    {
        v.release = release;
        return v;
    }

    // The correction that smooths a unit step at phase 0 over one sample on each side.
    double polyBlep(double phase, double step)
    {
        if (phase < step) {
            const double t = phase / step;
            return t + t - t * t - 1.0;
        }
        if (phase > 1.0 - step) {
            const double t = (phase - 1.0) / step;
            return t * t + t + t + 1.0;
        }
        return 0.0;
    }

    double wrap(double phase) { return phase - std::floor(phase); }

    // A pulse of the given duty without its steady part, band-limited at both edges.
    double pulse(double phase, double step, double duty)
    {
        double s = phase < duty ? 1.0 : -1.0;
        s += polyBlep(phase, step);
        s -= polyBlep(wrap(phase - duty + 1.0), step);
        return 0.6 * (s - (2.0 * duty - 1.0));
    }

    void addVoice(Buffer& b, const Voice& v, std::uint32_t seed = 1)
    {
        const std::size_t first = static_cast<std::size_t>(v.start * kInnerRate);
        // The tail lasts until the envelope is 52 dB down.
        const double total = v.length + 6.0 * v.release;
        const std::size_t count = static_cast<std::size_t>(total * kInnerRate);
        if (b.samples.size() < first + count)
            b.samples.resize(first + count, 0.0f);
        double phase = 0;
        double noiseHeld = 0, low = 0, low2 = 0;
        Rng rng(seed);
        // The glide and the envelope advance by a constant factor per sample.
        const double glide = std::pow(v.f1 / v.f0, 1.0 / (v.length * kInnerRate));
        const double fall = std::exp(-v.decay / kInnerRate);
        const double tailFall = std::exp(-1.0 / (v.release * kInnerRate));
        double glided = v.f0;
        double env = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / kInnerRate;
            double f = glided;
            if (t < v.length)
                glided *= glide;
            if (v.vibrato > 0)
                f *= std::exp2(v.vibrato * std::sin(kTau * 6.0 * t) / 12.0);
            const double step = f / kInnerRate;
            phase = wrap(phase + step);
            double s = 0;
            switch (v.wave) {
            case Wave::Sine:
                s = std::sin(kTau * phase);
                break;
            case Wave::Square:
                s = pulse(phase, step, v.duty);
                break;
            case Wave::Triangle:
                s = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
                break;
            case Wave::Saw:
                s = (2 * phase - 1 - polyBlep(phase, step)) * 0.6;
                break;
            case Wave::Noise: {
                // Noise drawn afresh at the voice frequency, then smoothed twice: f sets the colour.
                if (phase < step)
                    noiseHeld = rng.unit() * 2 - 1;
                const double k = std::min(1.0, 2.0 * f / kInnerRate);
                low += (noiseHeld - low) * k;
                low2 += (low - low2) * k;
                s = low2;
                break;
            }
            }
            if (t < v.attack)
                env = t / v.attack;
            else
                env *= t > v.length ? fall * tailFall : fall;
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

    // The mix brought down to the output rate through a windowed-sinc low-pass at 9.5 kHz.
    std::vector<double> decimate(const std::vector<float>& in)
    {
        constexpr int taps = 96;
        static const std::vector<double> kernel = [] {
            std::vector<double> k(taps + 1);
            const double cutoff = 9500.0 / kInnerRate;
            double sum = 0;
            for (int i = 0; i <= taps; ++i) {
                const double x = i - taps / 2.0;
                const double sinc = x == 0 ? 2 * cutoff : std::sin(kTau * cutoff * x) / (kTau / 2 * x);
                const double window = 0.42 - 0.5 * std::cos(kTau * i / taps) + 0.08 * std::cos(2 * kTau * i / taps);
                k[static_cast<std::size_t>(i)] = sinc * window;
                sum += sinc * window;
            }
            for (double& v : k)
                v /= sum;
            return k;
        }();
        const std::size_t n = in.size() / kOversample;
        std::vector<double> out(n, 0.0);
        for (std::size_t o = 0; o < n; ++o) {
            const long centre = static_cast<long>(o * kOversample);
            double acc = 0;
            for (int i = 0; i <= taps; ++i) {
                const long at = centre + i - taps / 2;
                if (at >= 0 && at < static_cast<long>(in.size()))
                    acc += kernel[static_cast<std::size_t>(i)] * in[static_cast<std::size_t>(at)];
            }
            out[o] = acc;
        }
        return out;
    }

    // Removes the steady part: a DC blocker, then what is left of the mean taken out under a
    // raised-cosine bump, so that the ends stay at zero.
    void removeOffset(std::vector<double>& s)
    {
        double x1 = 0, y1 = 0;
        for (double& v : s) {
            const double y = v - x1 + 0.9985 * y1;
            x1 = v;
            y1 = y;
            v = y;
        }
        const std::size_t n = s.size();
        if (n < 2)
            return;
        double sum = 0, weight = 0;
        std::vector<double> bump(n);
        for (std::size_t i = 0; i < n; ++i) {
            bump[i] = 0.5 - 0.5 * std::cos(kTau * static_cast<double>(i) / static_cast<double>(n - 1));
            sum += s[i];
            weight += bump[i];
        }
        const double c = sum / weight;
        for (std::size_t i = 0; i < n; ++i)
            s[i] -= c * bump[i];
    }

    std::vector<std::uint8_t> toWave(const Buffer& b)
    {
        std::vector<double> samples = decimate(b.samples);
        removeOffset(samples);
        double peak = 0;
        for (double s : samples)
            peak = std::max(peak, std::abs(s));
        const double gain = peak > 0 ? 0.7 / peak : 0.0;
        const std::size_t n = samples.size();
        // Short fades reach exactly zero at the first and the last sample.
        const std::size_t fadeIn = std::min<std::size_t>(n / 2, kRate / 1000);
        const std::size_t fadeOut = std::min<std::size_t>(n / 2, kRate / 200);
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
            double s = samples[i] * gain;
            if (i < fadeIn)
                s *= static_cast<double>(i) / static_cast<double>(fadeIn);
            if (n - 1 - i < fadeOut)
                s *= static_cast<double>(n - 1 - i) / static_cast<double>(fadeOut);
            const int v = static_cast<int>(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
            u16(static_cast<std::uint32_t>(v) & 0xFFFF);
        }
        return out;
    }

    // A dull bump against something solid: a low thud with a wooden knock around 450 Hz on
    // top, so that small speakers, which barely play the thud, still carry the sound.
    Buffer bump()
    {
        Buffer b(0.16);
        addVoice(b, tone(Wave::Sine, 0, 0.12, 140, 60, 0.35, 0.002, 20));
        addVoice(b, tone(Wave::Sine, 0, 0.08, 520, 380, 0.8, 0.001, 38));
        addVoice(b, tone(Wave::Triangle, 0, 0.05, 470, 420, 0.25, 0.001, 55));
        addVoice(b, tone(Wave::Noise, 0, 0.04, 900, 500, 0.35, 0.001, 60), 3);
        return b;
    }

    Buffer battleStart()
    {
        Buffer b(0.9);
        addVoice(b, tone(Wave::Noise, 0, 0.5, 800, 6000, 0.35, 0.2, 3), 5);
        const int notes[6] = { 57, 60, 64, 69, 72, 76 };
        for (int k = 0; k < 6; ++k)
            addVoice(b, tone(Wave::Square, 0.05 * k, 0.12, note(notes[k]), note(notes[k]), 0.3, 0.003, 10, 0, 0.25));
        addVoice(b, ringing(tone(Wave::Square, 0.32, 0.55, note(81), note(81), 0.3, 0.005, 4, 0.3, 0.25), 0.12));
        addVoice(b, ringing(tone(Wave::Triangle, 0.32, 0.55, note(57), note(57), 0.5, 0.005, 3), 0.12));
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
            const double release = m.t > 1.4 ? 0.12 : 0.035;
            addVoice(b, ringing(tone(Wave::Square, m.t, m.len, note(m.n), note(m.n), 0.28, 0.004, 2.5, 0.15, 0.3), release));
            addVoice(b, ringing(tone(Wave::Square, m.t, m.len, note(m.n - 5), note(m.n - 5), 0.16, 0.004, 2.5, 0, 0.5), release));
        }
        addVoice(b, tone(Wave::Triangle, 0.36, 0.35, note(48), note(48), 0.5, 0.004, 2));
        addVoice(b, tone(Wave::Triangle, 0.72, 0.35, note(44), note(44), 0.5, 0.004, 2));
        addVoice(b, tone(Wave::Triangle, 1.08, 0.35, note(46), note(46), 0.5, 0.004, 2));
        addVoice(b, ringing(tone(Wave::Triangle, 1.44, 0.45, note(48), note(48), 0.5, 0.004, 2), 0.12));
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
        addVoice(b, ringing(tone(Wave::Square, 0.8, 0.6, note(91), note(91), 0.25, 0.005, 3, 0.25, 0.25), 0.15));
        addVoice(b, ringing(tone(Wave::Square, 0.8, 0.6, note(86), note(86), 0.15, 0.005, 3, 0, 0.5), 0.15));
        addVoice(b, ringing(tone(Wave::Triangle, 0.8, 0.6, note(55), note(55), 0.5, 0.005, 2.5), 0.15));
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
