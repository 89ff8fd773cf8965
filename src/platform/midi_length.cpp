#include "platform/midi_length.h"

#include <algorithm>
#include <map>

namespace vorn {

namespace {

    struct Cursor {
        const std::vector<std::uint8_t>& data;
        size_t pos;
        size_t end;
        bool ok = true;

        std::uint32_t byte()
        {
            if (pos >= end) {
                ok = false;
                return 0;
            }
            return data[pos++];
        }
        std::uint32_t be(int bytes)
        {
            std::uint32_t v = 0;
            for (int i = 0; i < bytes; ++i)
                v = (v << 8) | byte();
            return v;
        }
        std::uint32_t varLength()
        {
            std::uint32_t v = 0;
            for (int i = 0; i < 4; ++i) {
                std::uint32_t b = byte();
                v = (v << 7) | (b & 0x7F);
                if (!(b & 0x80))
                    return v;
            }
            ok = false;
            return v;
        }
        void skip(std::uint32_t n)
        {
            if (n > end - pos) {
                ok = false;
                pos = end;
            } else {
                pos += n;
            }
        }
    };

    // Reads one track: its last tick, and its tempo changes into `tempos` (tick -> us per quarter).
    bool readTrack(Cursor& c, std::uint64_t& lastTick, std::map<std::uint64_t, std::uint32_t>& tempos)
    {
        std::uint64_t tick = 0;
        std::uint32_t status = 0;
        while (c.ok && c.pos < c.end) {
            tick += c.varLength();
            std::uint32_t b = c.byte();
            if (b == 0xFF) {
                std::uint32_t type = c.byte();
                std::uint32_t length = c.varLength();
                if (type == 0x51 && length == 3) {
                    tempos[tick] = c.be(3);
                } else {
                    c.skip(length);
                }
                if (type == 0x2F)
                    break;
            } else if (b == 0xF0 || b == 0xF7) {
                c.skip(c.varLength());
            } else {
                if (b & 0x80) {
                    status = b;
                    b = c.byte();
                } else if (!status) {
                    return false;
                }
                std::uint32_t kind = status & 0xF0;
                if (kind != 0xC0 && kind != 0xD0)
                    c.byte();
                (void)b;
            }
        }
        lastTick = std::max(lastTick, tick);
        return c.ok;
    }

    // The length of a readable standard MIDI file; nothing for anything else.
    std::optional<std::uint64_t> readLengthMs(const std::vector<std::uint8_t>& data)
    {
        Cursor c { data, 0, data.size() };
        if (c.be(4) != 0x4D546864 || c.be(4) != 6)
            return std::nullopt;
        std::uint32_t format = c.be(2);
        std::uint32_t tracks = c.be(2);
        std::uint32_t division = c.be(2);
        if (!c.ok || format > 1 || division == 0 || (division & 0x8000))
            return std::nullopt;
        std::map<std::uint64_t, std::uint32_t> tempos;
        std::uint64_t lastTick = 0;
        for (std::uint32_t t = 0; t < tracks && c.pos < data.size(); ++t) {
            if (c.be(4) != 0x4D54726B)
                return std::nullopt;
            std::uint32_t length = c.be(4);
            if (!c.ok || length > data.size() - c.pos)
                return std::nullopt;
            Cursor track { data, c.pos, c.pos + length };
            if (!readTrack(track, lastTick, tempos))
                return std::nullopt;
            c.pos += length;
        }
        // Sum the time of each stretch between tempo changes; 120 beats a minute until the first.
        std::uint64_t us = 0;
        std::uint64_t tick = 0;
        std::uint32_t tempo = 500000;
        for (const auto& [at, value] : tempos) {
            if (at >= lastTick)
                break;
            us += (at - tick) * tempo / division;
            tick = at;
            tempo = value;
        }
        us += (lastTick - tick) * tempo / division;
        return us / 1000;
    }

} // namespace

std::uint64_t midiLengthMs(const std::vector<std::uint8_t>& data) { return readLengthMs(data).value_or(0); }

std::optional<std::uint64_t> musicLoopMs(const std::vector<std::uint8_t>& data)
{
    auto length = readLengthMs(data);
    if (!length)
        return std::nullopt;
    return std::max(*length, ShortestLoopMs);
}

} // namespace vorn
