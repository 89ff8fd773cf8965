// Standard MIDI file writer.
#include "assetgen/smf.h"

#include <algorithm>
#include <cmath>

namespace vorn::assetgen {

namespace {

    void varLength(std::vector<std::uint8_t>& out, std::uint32_t v)
    {
        std::uint8_t buf[5];
        int n = 0;
        buf[n++] = static_cast<std::uint8_t>(v & 0x7F);
        while (v >>= 7)
            buf[n++] = static_cast<std::uint8_t>((v & 0x7F) | 0x80);
        while (n)
            out.push_back(buf[--n]);
    }

    void be32(std::vector<std::uint8_t>& out, std::uint32_t v)
    {
        for (int k = 3; k >= 0; --k)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    }

    std::uint8_t clamp7(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 127)); }

} // namespace

void SmfTrack::programChange(std::uint32_t tick, int channel, int program)
{
    m_events.push_back({ tick, 0, { static_cast<std::uint8_t>(0xC0 | (channel & 15)), clamp7(program) } });
}

void SmfTrack::controller(std::uint32_t tick, int channel, int number, int value)
{
    m_events.push_back({ tick, 0, { static_cast<std::uint8_t>(0xB0 | (channel & 15)), clamp7(number), clamp7(value) } });
}

void SmfTrack::note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity)
{
    if (length == 0)
        return;
    m_events.push_back({ tick, 2, { static_cast<std::uint8_t>(0x90 | (channel & 15)), clamp7(key), clamp7(std::max(1, velocity)) } });
    m_events.push_back({ tick + length, 1, { static_cast<std::uint8_t>(0x80 | (channel & 15)), clamp7(key), 64 } });
}

void SmfTrack::tempo(std::uint32_t tick, double beatsPerMinute)
{
    const auto us = static_cast<std::uint32_t>(std::lround(60000000.0 / beatsPerMinute));
    m_events.push_back({ tick, 0, { 0xFF, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8), static_cast<std::uint8_t>(us) } });
}

void SmfTrack::timeSignature(std::uint32_t tick, int numerator, int denominatorPower)
{
    m_events.push_back({ tick, 0, { 0xFF, 0x58, 0x04, clamp7(numerator), clamp7(denominatorPower), 24, 8 } });
}

std::vector<std::uint8_t> SmfTrack::chunk(std::uint32_t endTick) const
{
    std::vector<Event> events = m_events;
    std::stable_sort(events.begin(), events.end(),
        [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::vector<std::uint8_t> body;
    // Track name.
    varLength(body, 0);
    body.push_back(0xFF);
    body.push_back(0x03);
    varLength(body, static_cast<std::uint32_t>(m_name.size()));
    body.insert(body.end(), m_name.begin(), m_name.end());
    std::uint32_t now = 0;
    for (const Event& e : events) {
        const std::uint32_t tick = std::min(e.tick, endTick);
        varLength(body, tick - now);
        now = tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    varLength(body, endTick >= now ? endTick - now : 0);
    body.push_back(0xFF);
    body.push_back(0x2F);
    body.push_back(0x00);
    std::vector<std::uint8_t> out = { 'M', 'T', 'r', 'k' };
    be32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::uint8_t> writeSmf(const std::vector<SmfTrack>& tracks, int ticksPerQuarter, std::uint32_t endTick)
{
    std::vector<std::uint8_t> out = { 'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1 };
    out.push_back(static_cast<std::uint8_t>(tracks.size() >> 8));
    out.push_back(static_cast<std::uint8_t>(tracks.size()));
    out.push_back(static_cast<std::uint8_t>(ticksPerQuarter >> 8));
    out.push_back(static_cast<std::uint8_t>(ticksPerQuarter));
    for (const SmfTrack& t : tracks) {
        const std::vector<std::uint8_t> c = t.chunk(endTick);
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}

} // namespace vorn::assetgen
