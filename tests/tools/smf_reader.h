// A reader of the standard MIDI files the asset generator writes, for checking them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

namespace vorn::test {

// Reads a format 1 file: per track, the tick of its end and whether any note is still held
// there or after; returns false if the file cannot be read.
struct TrackCheck {
    std::uint32_t end = 0;
    int hanging = 0;
    int notes = 0;
    std::uint32_t lastRelease = 0; // tick of the last note-off
    std::uint32_t tempo = 0; // microseconds a quarter note, when the track sets it
    int beats = 0; // quarter notes a bar, when the track sets the metre
};

inline bool readTracks(const std::vector<std::uint8_t>& d, int& division, std::vector<TrackCheck>& out)
{
    auto be = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int k = 0; k < n; ++k)
            v = (v << 8) | d.at(at + k);
        return v;
    };
    if (d.size() < 14 || be(8, 2) != 1)
        return false;
    division = static_cast<int>(be(12, 2));
    std::size_t pos = 14;
    const std::uint32_t tracks = be(10, 2);
    for (std::uint32_t t = 0; t < tracks; ++t) {
        const std::size_t end = pos + 8 + be(pos + 4, 4);
        pos += 8;
        TrackCheck c;
        std::map<int, int> held;
        std::uint32_t tick = 0;
        std::uint8_t status = 0;
        while (pos < end) {
            std::uint32_t delta = 0;
            std::uint8_t b;
            do {
                b = d.at(pos++);
                delta = (delta << 7) | (b & 0x7F);
            } while (b & 0x80);
            tick += delta;
            if (d.at(pos) & 0x80)
                status = d.at(pos++);
            if (status == 0xFF) {
                const std::uint8_t type = d.at(pos++);
                const std::uint8_t len = d.at(pos++);
                if (type == 0x51)
                    c.tempo = be(pos, 3);
                if (type == 0x58)
                    c.beats = d.at(pos);
                pos += len;
                if (type == 0x2F)
                    c.end = tick;
            } else if ((status & 0xF0) == 0x90 || (status & 0xF0) == 0x80) {
                const int key = d.at(pos) | ((status & 0x0F) << 8);
                const bool on = (status & 0xF0) == 0x90 && d.at(pos + 1) > 0;
                held[key] += on ? 1 : -1;
                c.notes += on;
                if (!on)
                    c.lastRelease = std::max(c.lastRelease, tick);
                pos += 2;
            } else if ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) {
                pos += 1;
            } else {
                pos += 2;
            }
        }
        for (const auto& [key, count] : held)
            c.hanging += count != 0;
        out.push_back(c);
        pos = end;
    }
    return true;
}

} // namespace vorn::test
