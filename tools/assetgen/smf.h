// A small writer of standard MIDI files (format 1, ticks per quarter note).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::assetgen {

class SmfTrack {
public:
    explicit SmfTrack(std::string name)
        : m_name(std::move(name))
    {
    }

    void programChange(std::uint32_t tick, int channel, int program);
    void controller(std::uint32_t tick, int channel, int number, int value);
    // A note from `tick` lasting `length` ticks (its note-off is written at tick + length).
    void note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
    void tempo(std::uint32_t tick, double beatsPerMinute);
    void timeSignature(std::uint32_t tick, int numerator, int denominatorPower);

    // The track chunk, events in time order (note-offs before note-ons at the same tick),
    // ending with the end-of-track event at `endTick`.
    std::vector<std::uint8_t> chunk(std::uint32_t endTick) const;

private:
    struct Event {
        std::uint32_t tick;
        int order; // at equal ticks: 0 meta and controls, 1 note-off, 2 note-on
        std::vector<std::uint8_t> bytes;
    };
    std::string m_name;
    std::vector<Event> m_events;
};

// A whole file of format 1: the tracks in order (the first usually holds tempo and metre).
std::vector<std::uint8_t> writeSmf(const std::vector<SmfTrack>& tracks, int ticksPerQuarter, std::uint32_t endTick);

} // namespace vorn::assetgen
