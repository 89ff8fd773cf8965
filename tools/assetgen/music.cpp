// The demo game's music: seven pieces in General MIDI, each a melody over chords with a
// counter-melody, accompaniment, bass and drums. A piece is a form of sections (an A part, a B
// part, the A part's second half again) so that its loop runs 32 bars or more; each section
// chooses its own accompaniment, register and bass. Everything is written bar by bar so that a
// piece ends exactly on a bar line with every note released, and loops without a gap.
#include "assetgen/assetgen.h"

#include "assetgen/smf.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace vorn::assetgen {

namespace {

    constexpr int kQuarter = 480;
    constexpr int kEighth = kQuarter / 2;
    constexpr int kDrums = 9; // channel 10

    // A note name such as "F#5" or "Bb4" as a MIDI key; -1 for a rest "r".
    int parseKey(const std::string& name)
    {
        if (name == "r")
            return -1;
        static const int base[7] = { 9, 11, 0, 2, 4, 5, 7 }; // A B C D E F G
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name.at(0))));
        if (letter < 'A' || letter > 'G')
            throw std::logic_error("bad note " + name);
        int key = base[letter - 'A'];
        std::size_t i = 1;
        if (i < name.size() && name[i] == '#') {
            ++key;
            ++i;
        } else if (i < name.size() && name[i] == 'b') {
            --key;
            ++i;
        }
        const int octave = std::stoi(name.substr(i));
        return key + (octave + 1) * 12;
    }

    struct Chord {
        int root; // pitch class
        std::vector<int> intervals;
    };

    Chord parseChord(const std::string& s)
    {
        Chord c;
        c.root = parseKey(s.substr(0, (s.size() > 1 && (s[1] == '#' || s[1] == 'b')) ? 2 : 1) + "4") % 12;
        const std::string q = s.substr((s.size() > 1 && (s[1] == '#' || s[1] == 'b')) ? 2 : 1);
        if (q == "m")
            c.intervals = { 0, 3, 7 };
        else if (q == "7")
            c.intervals = { 0, 4, 7, 10 };
        else if (q == "m7")
            c.intervals = { 0, 3, 7, 10 };
        else if (q == "dim")
            c.intervals = { 0, 3, 6 };
        else if (q.empty())
            c.intervals = { 0, 4, 7 };
        else
            throw std::logic_error("bad chord " + s);
        return c;
    }

    // Chord tones in close position between `low` (included) and low + 12.
    std::vector<int> voicing(const Chord& c, int low)
    {
        std::vector<int> keys;
        for (int i : c.intervals) {
            int k = c.root + i;
            while (k < low)
                k += 12;
            while (k >= low + 12)
                k -= 12;
            keys.push_back(k);
        }
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    enum class Accomp { Pad,
        Arpeggio,
        Stabs,
        Waltz };
    enum class Bass { Long,
        Halves,
        Walk,
        Drive,
        Waltz };
    enum class Drums { None,
        Light,
        Rock,
        Battle,
        Boss,
        March };

    struct Part {
        int program;
        int volume;
        int pan;
    };

    // A run of bars: one chord and one melody bar ("KEY:EIGHTHS ...") each, and how the
    // accompaniment and the bass play under them.
    struct Section {
        std::vector<std::string> chords;
        std::vector<std::string> melody;
        Accomp accomp;
        int accompLow; // lowest key of the accompaniment's chords
        Bass bass;
    };

    struct Piece {
        std::string name;
        double tempo;
        int beats; // quarter notes a bar: 3 or 4
        Part lead, accomp, bass, counter;
        Drums drums;
        Section a, b;
        // The order of the sections: 'A' and 'B' whole, 'a' the second half of A.
        std::string form;
    };

    // One bar of a piece as played.
    struct Bar {
        std::string chord;
        std::string melody;
        Accomp accomp;
        int accompLow;
        Bass bass;
    };

    std::vector<Bar> barsOf(const Piece& piece)
    {
        std::vector<Bar> bars;
        auto add = [&](const Section& s, std::size_t from) {
            if (s.chords.size() != s.melody.size())
                throw std::logic_error(piece.name + ": chords and melody differ in length");
            for (std::size_t i = from; i < s.chords.size(); ++i)
                bars.push_back({ s.chords[i], s.melody[i], s.accomp, s.accompLow, s.bass });
        };
        for (char c : piece.form) {
            if (c == 'A')
                add(piece.a, 0);
            else if (c == 'a')
                add(piece.a, piece.a.chords.size() / 2);
            else if (c == 'B')
                add(piece.b, 0);
        }
        return bars;
    }

    struct Note {
        int key; // -1: a rest
        int at; // eighths from the start of the bar
        int length; // eighths
    };

    std::vector<Note> parseBar(const std::string& text, int eighths, const std::string& where)
    {
        std::vector<Note> notes;
        std::istringstream in(text);
        std::string token;
        int pos = 0;
        while (in >> token) {
            const auto colon = token.find(':');
            if (colon == std::string::npos)
                throw std::logic_error("bad token " + token);
            const int length = std::stoi(token.substr(colon + 1));
            notes.push_back({ parseKey(token.substr(0, colon)), pos, length });
            pos += length;
        }
        if (pos != eighths)
            throw std::logic_error(where + " has " + std::to_string(pos) + " eighths");
        return notes;
    }

    void setUp(SmfTrack& t, int channel, const Part& p)
    {
        t.programChange(0, channel, p.program);
        t.controller(0, channel, 7, p.volume);
        t.controller(0, channel, 10, p.pan);
        t.controller(0, channel, 91, 50); // reverb
    }

    void writeMelody(SmfTrack& t, int channel, const Piece& piece, const std::vector<Bar>& bars, int velocity)
    {
        const int barTicks = piece.beats * kQuarter;
        for (std::size_t bar = 0; bar < bars.size(); ++bar) {
            const std::string where = piece.name + ": bar " + std::to_string(bar + 1);
            for (const Note& n : parseBar(bars[bar].melody, piece.beats * 2, where)) {
                if (n.key < 0)
                    continue;
                const std::uint32_t start = static_cast<std::uint32_t>(static_cast<int>(bar) * barTicks + n.at * kEighth);
                const std::uint32_t length = static_cast<std::uint32_t>(n.length * kEighth);
                // Slightly detached (90% of the written length), the downbeat leaning.
                const int accent = n.at == 0 ? 6 : (n.at % 2 == 0 ? 0 : -6);
                t.note(start, length * 9 / 10, channel, n.key, velocity + accent);
            }
        }
    }

    // Chord tones (as keys) between `low` and `high`, both included.
    std::vector<int> chordKeys(const Chord& c, int low, int high)
    {
        std::vector<int> keys;
        for (int k = low; k <= high; ++k) {
            for (int i : c.intervals) {
                if ((k - c.root - i) % 12 == 0)
                    keys.push_back(k);
            }
        }
        return keys;
    }

    // The counter-melody: its own line of chord tones below the melody. It moves where the
    // melody holds (quarter notes under one or two melody notes) and holds where the melody
    // moves (half notes under a busy bar), steps to the nearest tone, prefers to move against
    // the melody's direction and never comes within a minor third of it.
    void writeCounter(SmfTrack& t, int channel, const Piece& piece, const std::vector<Bar>& bars, int velocity)
    {
        const int barTicks = piece.beats * kQuarter;
        int previous = -1;
        int previousMelody = -1;
        for (std::size_t bar = 0; bar < bars.size(); ++bar) {
            const Chord c = parseChord(bars[bar].chord);
            const std::vector<Note> melody = parseBar(bars[bar].melody, piece.beats * 2, piece.name);
            int sounding = 0;
            for (const Note& n : melody)
                sounding += n.key >= 0;
            // Onsets in quarter notes and their lengths.
            std::vector<std::pair<int, int>> rhythm;
            if (sounding >= 4)
                rhythm = piece.beats == 3 ? std::vector<std::pair<int, int>> { { 0, 3 } } : std::vector<std::pair<int, int>> { { 0, 2 }, { 2, 2 } };
            else if (sounding == 3)
                rhythm = piece.beats == 3 ? std::vector<std::pair<int, int>> { { 0, 2 }, { 2, 1 } } : std::vector<std::pair<int, int>> { { 0, 2 }, { 2, 1 }, { 3, 1 } };
            else
                rhythm = piece.beats == 3 ? std::vector<std::pair<int, int>> { { 0, 1 }, { 1, 1 }, { 2, 1 } } : std::vector<std::pair<int, int>> { { 0, 1 }, { 1, 1 }, { 2, 1 }, { 3, 1 } };
            for (const auto& [beat, length] : rhythm) {
                // The melody key sounding at this beat (the last one started by then).
                int above = -1;
                for (const Note& n : melody) {
                    if (n.at <= beat * 2 && n.key >= 0)
                        above = n.key;
                }
                if (above < 0)
                    above = previousMelody > 0 ? previousMelody : 72;
                const int high = std::min(above - 3, 72);
                const std::vector<int> keys = chordKeys(c, 53, high);
                if (keys.empty())
                    continue;
                int best = keys.front(), bestScore = 1 << 20;
                for (int k : keys) {
                    int score = previous < 0 ? std::abs(k - 62) : std::abs(k - previous) * 2;
                    if (k == previous)
                        score += 3; // a repeated tone is no line
                    const int melodyMove = above - previousMelody;
                    if (previous >= 0 && previousMelody >= 0 && melodyMove != 0 && (k - previous) * melodyMove > 0)
                        score += 4; // parallel motion
                    score += std::abs(k - 62) / 3; // keep to the middle register
                    if (score < bestScore) {
                        bestScore = score;
                        best = k;
                    }
                }
                const std::uint32_t start = static_cast<std::uint32_t>(static_cast<int>(bar) * barTicks + beat * kQuarter);
                t.note(start, static_cast<std::uint32_t>(length * kQuarter - 30), channel, best, velocity + (beat == 0 ? 6 : 0));
                previous = best;
                previousMelody = above;
            }
        }
    }

    // An open voicing for held chords: the root at the bottom, the fifth, then the third (and
    // the seventh) an octave up.
    std::vector<int> openVoicing(const Chord& c, int low)
    {
        int root = c.root;
        while (root < low)
            root += 12;
        std::vector<int> keys = { root };
        for (std::size_t i = 1; i < c.intervals.size(); ++i)
            keys.push_back(root + c.intervals[i] + (c.intervals[i] == 7 ? 0 : 12));
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    void writeAccompaniment(SmfTrack& t, int channel, const Piece& piece, const std::vector<Bar>& bars)
    {
        const int beats = piece.beats;
        const std::uint32_t barTicks = static_cast<std::uint32_t>(beats * kQuarter);
        for (std::size_t bar = 0; bar < bars.size(); ++bar) {
            const Chord c = parseChord(bars[bar].chord);
            const std::vector<int> v = voicing(c, bars[bar].accompLow);
            const std::uint32_t start = static_cast<std::uint32_t>(bar) * barTicks;
            switch (bars[bar].accomp) {
            case Accomp::Pad:
                for (int k : openVoicing(c, bars[bar].accompLow))
                    t.note(start, barTicks - 10, channel, k, 70);
                break;
            case Accomp::Arpeggio: {
                std::vector<int> tones = v;
                tones.push_back(v.front() + 12);
                static const int order[8] = { 0, 1, 2, 3, 2, 1, 0, 1 };
                for (int e = 0; e < beats * 2; ++e) {
                    const int idx = std::min<int>(order[e], static_cast<int>(tones.size()) - 1);
                    t.note(start + e * kEighth, kEighth, channel, tones[idx], e % 2 ? 60 : 70);
                }
                break;
            }
            case Accomp::Stabs:
                for (int e = 0; e < beats * 2; ++e) {
                    if (e == 3 || e == 7)
                        continue;
                    for (int k : v)
                        t.note(start + e * kEighth, kEighth / 2, channel, k, (e == 0 || e == 4) ? 84 : 66);
                }
                break;
            case Accomp::Waltz:
                // The chord on every beat after the first, the second one leaning.
                for (int beat = 1; beat < beats; ++beat) {
                    for (int k : v)
                        t.note(start + beat * kQuarter, kQuarter * 3 / 4, channel, k, beat == 1 ? 68 : 58);
                }
                break;
            }
        }
    }

    void writeBass(SmfTrack& t, int channel, const Piece& piece, const std::vector<Bar>& bars)
    {
        const int beats = piece.beats;
        const std::uint32_t barTicks = static_cast<std::uint32_t>(beats * kQuarter);
        for (std::size_t bar = 0; bar < bars.size(); ++bar) {
            const Chord c = parseChord(bars[bar].chord);
            const int root = 36 + c.root; // C2 .. B2
            const int fifth = root + 7;
            const int third = root + c.intervals[1];
            const std::uint32_t start = static_cast<std::uint32_t>(bar) * barTicks;
            switch (bars[bar].bass) {
            case Bass::Long:
                t.note(start, barTicks - 10, channel, root, 84);
                break;
            case Bass::Halves:
                t.note(start, kQuarter * 2 - 20, channel, root, 88);
                t.note(start + kQuarter * 2, kQuarter * (beats - 2) - 20, channel, fifth, 78);
                break;
            case Bass::Walk: {
                const int line[4] = { root, third, fifth, bar % 2 ? root + 12 : third + 12 };
                for (int b = 0; b < beats; ++b)
                    t.note(start + b * kQuarter, kQuarter - 30, channel, line[b], b == 0 ? 90 : 76);
                break;
            }
            case Bass::Drive:
                for (int e = 0; e < beats * 2; ++e)
                    t.note(start + e * kEighth, kEighth - 30, channel, (e == 3 || e == 7) ? root + 12 : root, e % 2 ? 74 : 92);
                break;
            case Bass::Waltz:
                // The root on the downbeat, the fifth below on alternate bars.
                t.note(start, kQuarter * 2 - 30, channel, bar % 2 ? fifth - 12 : root, 86);
                break;
            }
        }
    }

    void writeDrums(SmfTrack& t, const Piece& piece, std::size_t bars)
    {
        constexpr int kick = 36, snare = 38, stick = 37, hat = 42, pedalHat = 44, openHat = 46, crash = 49,
                      timpani = 47, lowTom = 45, highTom = 50, floorTom = 41, china = 52;
        const std::uint32_t barTicks = static_cast<std::uint32_t>(piece.beats * kQuarter);
        for (std::size_t bar = 0; bar < bars; ++bar) {
            const std::uint32_t s = static_cast<std::uint32_t>(bar) * barTicks;
            const bool phraseEnd = bar % 8 == 7;
            switch (piece.drums) {
            case Drums::None:
                break;
            case Drums::Light:
                t.note(s, kEighth, kDrums, kick, 70);
                t.note(s + 2 * kQuarter, kEighth, kDrums, kick, 60);
                t.note(s + kQuarter, kEighth, kDrums, stick, 60);
                t.note(s + 3 * kQuarter, kEighth, kDrums, stick, 60);
                for (int b = 0; b < 4; ++b)
                    t.note(s + b * kQuarter + kEighth, kEighth / 2, kDrums, hat, 40);
                break;
            case Drums::Rock:
                t.note(s, kEighth, kDrums, kick, 84);
                t.note(s + 2 * kQuarter, kEighth, kDrums, kick, 80);
                t.note(s + 2 * kQuarter + kEighth, kEighth, kDrums, kick, 64);
                t.note(s + kQuarter, kEighth, kDrums, snare, 78);
                t.note(s + 3 * kQuarter, kEighth, kDrums, snare, 78);
                for (int e = 0; e < 8; ++e)
                    t.note(s + e * kEighth, kEighth / 2, kDrums, (phraseEnd && e == 7) ? openHat : hat, e % 2 ? 44 : 58);
                if (bar % 8 == 0)
                    t.note(s, kQuarter, kDrums, crash, 70);
                break;
            case Drums::Battle:
                for (int e : { 0, 3, 4 })
                    t.note(s + e * kEighth, kEighth, kDrums, kick, 96);
                t.note(s + kQuarter, kEighth, kDrums, snare, 92);
                t.note(s + 3 * kQuarter, kEighth, kDrums, snare, 92);
                if (phraseEnd) {
                    for (int e = 4; e < 8; ++e)
                        t.note(s + e * kEighth, kEighth / 2, kDrums, snare, 70 + e * 3);
                }
                for (int e = 0; e < 8; ++e)
                    t.note(s + e * kEighth, kEighth / 2, kDrums, hat, e % 2 ? 48 : 66);
                if (bar % 4 == 0)
                    t.note(s, kQuarter, kDrums, crash, 84);
                break;
            case Drums::Boss:
                // Heavy and square: a kick on every beat, timpani on the downbeats, a snare with a
                // grace stroke, the pedal hat, and a tom run into every fourth bar.
                for (int b = 0; b < 4; ++b)
                    t.note(s + b * kQuarter, kEighth, kDrums, kick, b == 0 ? 110 : 98);
                t.note(s, kQuarter, kDrums, timpani, 104);
                t.note(s + 2 * kQuarter, kQuarter, kDrums, timpani, 88);
                for (int b : { 1, 3 }) {
                    t.note(s + b * kQuarter - 40, 30, kDrums, snare, 56);
                    t.note(s + b * kQuarter, kEighth, kDrums, snare, 104);
                }
                for (int b = 0; b < 4; ++b)
                    t.note(s + b * kQuarter + kEighth, kEighth / 2, kDrums, pedalHat, 60);
                if (bar % 4 == 3) {
                    const int toms[4] = { highTom, highTom, lowTom, floorTom };
                    for (int e = 4; e < 8; ++e)
                        t.note(s + e * kEighth, kEighth, kDrums, toms[e - 4], 90 + e * 2);
                }
                if (bar % 4 == 0)
                    t.note(s, kQuarter, kDrums, bar % 8 == 0 ? crash : china, 96);
                break;
            case Drums::March:
                t.note(s, kQuarter, kDrums, timpani, 84);
                t.note(s + 2 * kQuarter, kQuarter, kDrums, timpani, 70);
                t.note(s + 3 * kQuarter + kEighth, kEighth, kDrums, snare, 50);
                t.note(s + 3 * kQuarter, kEighth, kDrums, snare, 44);
                if (bar % 4 == 0)
                    t.note(s, kQuarter, kDrums, crash, 60);
                break;
            }
        }
    }

    NamedBytes render(const Piece& piece)
    {
        const std::vector<Bar> bars = barsOf(piece);
        const std::uint32_t end = static_cast<std::uint32_t>(bars.size() * piece.beats * kQuarter);
        std::vector<SmfTrack> tracks;
        SmfTrack conductor(piece.name);
        conductor.tempo(0, piece.tempo);
        conductor.timeSignature(0, piece.beats, 2);
        tracks.push_back(std::move(conductor));

        SmfTrack lead("melody");
        setUp(lead, 0, piece.lead);
        writeMelody(lead, 0, piece, bars, 88);
        tracks.push_back(std::move(lead));

        SmfTrack counter("counter");
        setUp(counter, 3, piece.counter);
        writeCounter(counter, 3, piece, bars, 76);
        tracks.push_back(std::move(counter));

        SmfTrack accomp("chords");
        setUp(accomp, 1, piece.accomp);
        writeAccompaniment(accomp, 1, piece, bars);
        tracks.push_back(std::move(accomp));

        SmfTrack bass("bass");
        setUp(bass, 2, piece.bass);
        writeBass(bass, 2, piece, bars);
        tracks.push_back(std::move(bass));

        if (piece.drums != Drums::None) {
            SmfTrack drums("drums");
            drums.controller(0, kDrums, 7, 96);
            drums.controller(0, kDrums, 91, 40);
            writeDrums(drums, piece, bars.size());
            tracks.push_back(std::move(drums));
        }
        return { piece.name, writeSmf(tracks, kQuarter, end) };
    }

    // General MIDI programs used.
    constexpr int kPiano = 0, kStrings = 48, kSlowStrings = 49, kTrumpet = 56, kBrass = 61, kTrombone = 57,
                  kHorn = 60, kOboe = 68, kClarinet = 71, kFlute = 73, kGuitar = 24, kAcousticBass = 32,
                  kFingerBass = 33, kSynthBass = 38, kWarmPad = 89, kOrgan = 19, kContrabass = 43,
                  kSquareLead = 80, kPizzicato = 45, kHarp = 46, kBassoon = 70, kCello = 42;

    std::vector<Piece> pieces()
    {
        std::vector<Piece> out;
        out.push_back({ "title", 84, 4, { kHorn, 76, 64 }, { kSlowStrings, 100, 44 }, { kContrabass, 104, 64 },
            { kClarinet, 120, 84 }, Drums::March,
            { { "C", "G", "Am", "F", "C", "F", "G", "G", "F", "G", "Em", "Am", "F", "G", "C", "C" },
                { "G4:3 C5:1 E5:2 G5:2", "F5:3 E5:1 D5:4", "E5:3 D5:1 C5:2 E5:2", "A5:6 G5:2", "G5:3 E5:1 C5:2 E5:2",
                    "F5:2 A5:2 C6:2 A5:2", "G5:3 F5:1 E5:2 D5:2", "D5:6 r:2", "C5:2 F5:2 A5:3 G5:1",
                    "G5:2 D5:2 B4:2 D5:2", "E5:3 G5:1 B5:2 G5:2", "A5:6 E5:2", "F5:3 G5:1 A5:2 C6:2",
                    "B5:3 A5:1 G5:2 D5:2", "E5:3 D5:1 C5:4", "C5:6 r:2" },
                Accomp::Pad, 43, Bass::Halves },
            { { "Am", "Em", "F", "C", "Dm", "Am", "F", "G" },
                { "E5:2 A5:3 G5:1 E5:2", "G5:2 B4:2 E5:4", "F5:1 E5:1 F5:1 A5:1 C6:3 A5:1", "G5:4 E5:2 C5:2",
                    "D5:3 F5:1 A5:2 F5:2", "E5:2 C5:1 B4:1 A4:4", "A4:2 C5:2 F5:2 A5:2", "G5:2 F5:1 E5:1 D5:4" },
                Accomp::Arpeggio, 52, Bass::Long },
            "ABa" });
        out.push_back({ "town", 112, 4, { kFlute, 86, 70 }, { kGuitar, 104, 44 }, { kAcousticBass, 100, 64 },
            { kOboe, 88, 90 }, Drums::Light,
            { { "G", "C", "D", "G", "G", "C", "D", "G", "Em", "C", "G", "D", "Em", "Am", "D", "G" },
                { "D5:1 G5:1 B5:2 A5:1 G5:1 D5:2", "E5:1 G5:1 C6:2 B5:1 A5:1 G5:2", "F#5:1 A5:1 D6:2 C6:1 A5:1 F#5:2",
                    "G5:3 A5:1 B5:4", "D5:1 G5:1 B5:2 A5:1 G5:1 D5:2", "E5:1 G5:1 C6:2 B5:1 A5:1 E5:2",
                    "D5:2 A5:2 G5:1 F#5:1 E5:1 F#5:1", "G5:6 r:2", "B5:3 A5:1 G5:2 B5:2", "C6:3 B5:1 A5:2 G5:2",
                    "B5:2 D6:2 B5:2 G5:2", "A5:6 r:2", "G5:3 F#5:1 E5:2 G5:2", "A5:3 G5:1 E5:2 C6:2",
                    "B5:2 A5:2 G5:2 F#5:2", "G5:6 r:2" },
                Accomp::Arpeggio, 50, Bass::Walk },
            { { "C", "D", "Bm", "Em", "Am", "D", "G", "D7" },
                { "E6:3 D6:1 C6:2 G5:2", "A5:1 B5:1 C6:1 A5:1 F#5:4", "D6:2 B5:2 F#5:3 B5:1", "G5:4 r:1 E5:1 G5:1 B5:1",
                    "C6:3 B5:1 A5:1 G5:1 E5:2", "F#5:2 A5:2 D6:2 C6:2", "B5:1 A5:1 G5:1 B5:1 D6:3 B5:1",
                    "A5:2 F#5:2 D5:2 r:2" },
                Accomp::Stabs, 57, Bass::Halves },
            "ABa" });
        out.push_back({ "field", 132, 4, { kTrumpet, 120, 64 }, { kStrings, 60, 44 }, { kFingerBass, 104, 64 },
            { kHorn, 100, 86 }, Drums::Rock,
            { { "D", "A", "Bm", "G", "D", "A", "G", "A", "G", "A", "F#m", "Bm", "G", "A", "D", "D", "Bm", "G", "D",
                  "A", "Bm", "G", "Em", "A" },
                { "A4:2 D5:2 F#5:3 E5:1", "E5:2 C#5:2 A4:4", "B4:2 D5:2 F#5:2 B5:2", "A5:3 G5:1 F#5:2 E5:2",
                    "F#5:3 G5:1 A5:2 D6:2", "C#6:3 B5:1 A5:2 E5:2", "B5:3 A5:1 G5:2 E5:2", "A5:6 r:2",
                    "G5:2 B5:2 D6:3 B5:1", "C#6:2 A5:2 E5:4", "F#5:2 A5:2 C#6:3 A5:1", "B5:6 A5:2",
                    "G5:3 F#5:1 E5:2 G5:2", "F#5:3 E5:1 D5:2 C#5:2", "D5:8", "r:2 D5:2 E5:2 F#5:2", "F#5:4 D5:2 F#5:2",
                    "G5:4 B5:4", "A5:4 F#5:2 D5:2", "E5:6 r:2", "F#5:2 G5:2 A5:2 B5:2", "D6:4 B5:2 G5:2",
                    "E5:2 G5:2 B5:2 A5:2", "A5:4 r:2 A4:2" },
                Accomp::Stabs, 55, Bass::Walk },
            { { "Bm", "F#m", "G", "D", "Em", "Bm", "G", "A" },
                { "F#5:1 B5:2 C#6:1 D6:2 B5:2", "C#6:3 A5:1 F#5:4", "G5:1 A5:1 B5:1 D6:1 G6:3 F#6:1", "F#6:2 E6:1 D6:1 A5:4",
                    "E5:1 G5:1 B5:2 E6:3 D6:1", "D6:2 C#6:1 B5:1 F#5:4", "G5:2 B5:2 D6:2 E6:2", "C#6:2 A5:2 E5:2 r:2" },
                Accomp::Pad, 47, Bass::Halves },
            "AB" });
        out.push_back({ "dungeon", 88, 4, { kOboe, 96, 70 }, { kWarmPad, 100, 64 }, { kContrabass, 100, 64 },
            { kCello, 92, 40 }, Drums::None,
            { { "Dm", "Dm", "Bb", "A", "Dm", "Gm", "A", "A", "Gm", "Dm", "Bb", "F", "Gm", "Dm", "A", "Dm" },
                { "D5:4 F5:2 E5:2", "D5:2 A4:6", "Bb4:2 D5:2 F5:2 D5:2", "C#5:6 r:2", "A5:4 G5:2 F5:2", "G5:3 F5:1 D5:4",
                    "E5:2 C#5:2 E5:2 A5:2", "A5:6 r:2", "Bb5:4 A5:2 G5:2", "A5:4 F5:4", "F5:3 E5:1 D5:2 F5:2", "C5:6 r:2",
                    "D5:2 G5:2 Bb5:2 A5:2", "F5:4 D5:4", "E5:2 F5:2 E5:2 C#5:2", "D5:6 r:2" },
                Accomp::Pad, 45, Bass::Long },
            { { "Gm", "C", "F", "Dm", "Bb", "Gm", "A", "A" },
                { "Bb4:3 D5:1 G5:4", "E5:2 G5:2 C6:3 Bb5:1", "A5:6 F5:2", "D5:1 E5:1 F5:2 A5:4", "Bb5:3 A5:1 G5:2 F5:2",
                    "D5:4 G5:2 Bb5:2", "A5:2 G5:1 F5:1 E5:2 C#5:2", "E5:6 r:2" },
                Accomp::Arpeggio, 57, Bass::Halves },
            "ABa" });
        out.push_back({ "btl", 168, 4, { kSquareLead, 90, 64 }, { kStrings, 62, 44 }, { kSynthBass, 96, 64 },
            { kTrombone, 120, 84 }, Drums::Battle,
            { { "Am", "Am", "F", "G", "Am", "Am", "F", "E", "F", "G", "Em", "Am", "F", "G", "E", "E", "Dm", "Am", "Dm",
                  "E", "F", "G", "Am", "E" },
                { "A5:1 A5:1 r:1 A5:1 G5:1 A5:1 C6:2", "B5:1 A5:1 G5:1 E5:1 r:2 E5:2", "F5:2 A5:2 C6:2 A5:2",
                    "B5:2 G5:2 D5:2 G5:2", "A5:1 A5:1 r:1 A5:1 G5:1 A5:1 E6:2", "D6:1 C6:1 B5:1 A5:1 r:2 C6:2",
                    "C6:2 A5:2 F5:2 A5:2", "G#5:4 B5:4", "C6:3 B5:1 A5:2 F5:2", "D6:3 C6:1 B5:2 G5:2",
                    "E6:3 D6:1 B5:2 G5:2", "A5:6 r:2", "F5:2 A5:2 C6:2 F6:2", "E6:2 D6:2 B5:2 G5:2",
                    "G#5:2 B5:2 E6:2 D6:2", "B5:4 G#5:4", "D5:2 F5:2 A5:2 D6:2", "C6:4 A5:4", "D6:2 C6:2 A5:2 F5:2",
                    "E5:4 G#5:4", "A5:2 C6:2 F6:3 E6:1", "D6:3 C6:1 B5:2 G5:2", "A5:2 C6:2 E6:2 A6:2", "G#6:4 E6:4" },
                Accomp::Stabs, 57, Bass::Drive },
            { { "F", "G", "Em", "Am", "Dm", "E", "F", "E" },
                { "C6:1 C6:1 r:1 D6:1 E6:2 C6:2", "B5:1 C6:1 D6:2 G5:4", "E5:1 G5:1 B5:1 E6:1 D6:2 B5:2", "C6:3 B5:1 A5:4",
                    "F5:1 A5:1 D6:1 F6:1 E6:1 D6:1 C6:1 A5:1", "B5:3 G#5:1 E5:4", "A5:2 C6:2 F6:2 E6:1 D6:1",
                    "E6:4 B5:2 G#5:2" },
                Accomp::Arpeggio, 60, Bass::Drive },
            "AB" });
        out.push_back({ "boss", 144, 4, { kTrumpet, 120, 64 }, { kOrgan, 96, 40 }, { kSynthBass, 92, 64 },
            { kTrombone, 110, 88 }, Drums::Boss,
            { { "Cm", "Cm", "Ab", "G", "Cm", "Fm", "G", "G", "Ab", "Bb", "Gm", "Cm", "Ab", "Fm", "G", "G", "Fm", "Cm",
                  "Fm", "G", "Ab", "Bb", "G", "G" },
                { "C5:2 Eb5:2 G5:2 C6:2", "B5:2 C6:1 D6:1 Eb6:2 D6:2", "C6:3 Ab5:1 Eb5:4", "D5:2 G5:2 B5:2 D6:2",
                    "Eb6:3 D6:1 C6:2 G5:2", "Ab5:3 G5:1 F5:2 C6:2", "B5:2 D6:2 F6:2 D6:2", "G5:6 r:2",
                    "Ab5:2 C6:2 Eb6:3 C6:1", "D6:2 Bb5:2 F5:4", "G5:2 Bb5:2 D6:3 Bb5:1", "C6:6 r:2",
                    "Eb6:2 D6:2 C6:2 Ab5:2", "F5:2 Ab5:2 C6:2 F6:2", "Eb6:2 D6:2 B5:2 G5:2", "B5:4 D6:4",
                    "F5:1 F5:1 Ab5:2 C6:4", "Eb6:1 Eb6:1 D6:2 C6:4", "F6:2 Eb6:2 D6:2 C6:2", "B5:4 G5:4",
                    "Ab5:2 C6:2 Eb6:2 Ab6:2", "G6:2 F6:2 D6:2 Bb5:2", "B5:2 D6:2 G6:2 F6:2", "D6:4 B5:4" },
                Accomp::Pad, 43, Bass::Drive },
            { { "Fm", "Db", "Ab", "G", "Fm", "Db", "G", "G" },
                { "F5:3 Ab5:1 C6:2 F6:2", "F6:1 Eb6:1 Db6:2 Ab5:4", "C6:2 Eb6:2 Ab6:3 G6:1", "F6:1 D6:1 B5:2 G5:4",
                    "Ab5:1 G5:1 F5:1 Ab5:1 C6:1 F6:3", "Eb6:2 Db6:2 Bb5:1 Ab5:1 F5:2", "G5:1 B5:1 D6:1 F6:1 Ab6:2 G6:2",
                    "D6:2 B5:2 G5:2 F5:1 D5:1" },
                Accomp::Stabs, 48, Bass::Drive },
            "AB" });
        out.push_back({ "ending", 100, 3, { kFlute, 100, 70 }, { kHarp, 104, 48 }, { kAcousticBass, 120, 64 },
            { kBassoon, 116, 84 }, Drums::None,
            { { "F", "Dm", "Bb", "C", "F", "Dm", "Gm", "C", "Bb", "C", "Am", "Dm", "Gm", "C7", "F", "F" },
                { "C5:2 F5:2 A5:2", "A5:3 G5:1 F5:2", "D5:2 F5:2 Bb5:2", "G5:4 E5:2", "C5:2 F5:2 A5:2", "C6:3 Bb5:1 A5:2",
                    "Bb5:2 G5:2 D5:2", "E5:4 r:2", "F5:2 Bb5:3 A5:1", "G5:2 E5:2 C5:2", "E5:1 F5:1 A5:2 C6:2", "D6:4 A5:2",
                    "Bb5:2 A5:1 G5:1 D5:2", "E5:2 G5:2 Bb5:2", "A5:3 G5:1 F5:2", "F5:4 r:2" },
                Accomp::Waltz, 53, Bass::Waltz },
            { { "Dm", "A", "Dm", "Bb", "Gm", "C", "F", "C7" },
                { "A5:2 D6:2 F6:2", "E6:3 C#6:1 A5:2", "D6:2 A5:2 F5:2", "F5:2 Bb5:2 D6:2", "D6:3 C6:1 Bb5:2",
                    "G5:2 C6:2 E6:2", "F6:3 C6:1 A5:2", "G5:4 r:2" },
                Accomp::Waltz, 58, Bass::Waltz },
            "ABa" });
        return out;
    }

} // namespace

std::vector<NamedBytes> makeMusic()
{
    std::vector<NamedBytes> out;
    for (const Piece& p : pieces())
        out.push_back(render(p));
    return out;
}

} // namespace vorn::assetgen
