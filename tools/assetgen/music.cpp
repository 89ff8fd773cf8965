// The demo game's music: seven pieces in General MIDI, each a melody over chords with bass
// and drums, written bar by bar so that every piece ends exactly on a bar line with every
// note released, and loops without a gap or a hanging note.
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
    constexpr int kBar = kQuarter * 4;
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
        Drive };
    enum class Drums { None,
        Light,
        Rock,
        Battle,
        March };

    struct Part {
        int program;
        int volume;
        int pan;
    };

    struct Piece {
        std::string name;
        double tempo;
        Part lead, accomp, bass;
        Part counter; // program -1: none; doubles the melody an octave lower, softly
        Accomp accompStyle;
        Bass bassStyle;
        Drums drums;
        std::vector<std::string> chords; // one per bar
        std::vector<std::string> melody; // one per bar: "KEY:EIGHTHS ..."
    };

    void setUp(SmfTrack& t, int channel, const Part& p)
    {
        t.programChange(0, channel, p.program);
        t.controller(0, channel, 7, p.volume);
        t.controller(0, channel, 10, p.pan);
        t.controller(0, channel, 91, 50); // reverb
    }

    void writeMelody(SmfTrack& t, int channel, const Piece& piece, int transpose, int velocity)
    {
        for (std::size_t bar = 0; bar < piece.melody.size(); ++bar) {
            std::istringstream in(piece.melody[bar]);
            std::string token;
            int pos = 0;
            while (in >> token) {
                const auto colon = token.find(':');
                if (colon == std::string::npos)
                    throw std::logic_error("bad token " + token);
                const int key = parseKey(token.substr(0, colon));
                const int eighths = std::stoi(token.substr(colon + 1));
                const std::uint32_t start = static_cast<std::uint32_t>(bar * kBar + pos * kEighth);
                const std::uint32_t length = static_cast<std::uint32_t>(eighths * kEighth);
                if (key >= 0) {
                    // Slightly detached: 90% of the written length.
                    const int accent = pos == 0 ? 8 : (pos % 2 == 0 ? 0 : -6);
                    t.note(start, length * 9 / 10, channel, key + transpose, velocity + accent);
                }
                pos += eighths;
            }
            if (pos != 8)
                throw std::logic_error(piece.name + ": bar " + std::to_string(bar + 1) + " has " + std::to_string(pos) + " eighths");
        }
    }

    void writeAccompaniment(SmfTrack& t, int channel, const Piece& piece)
    {
        for (std::size_t bar = 0; bar < piece.chords.size(); ++bar) {
            const Chord c = parseChord(piece.chords[bar]);
            const std::vector<int> v = voicing(c, 55);
            const std::uint32_t start = static_cast<std::uint32_t>(bar * kBar);
            switch (piece.accompStyle) {
            case Accomp::Pad:
                for (int k : v)
                    t.note(start, kBar - 10, channel, k, 62);
                break;
            case Accomp::Arpeggio: {
                std::vector<int> tones = v;
                tones.push_back(v.front() + 12);
                static const int order[8] = { 0, 1, 2, 3, 2, 1, 0, 1 };
                for (int e = 0; e < 8; ++e) {
                    const int idx = std::min<int>(order[e], static_cast<int>(tones.size()) - 1);
                    t.note(start + e * kEighth, kEighth, channel, tones[idx], e % 2 ? 52 : 62);
                }
                break;
            }
            case Accomp::Stabs:
                for (int e = 0; e < 8; ++e) {
                    if (e == 3 || e == 7)
                        continue;
                    for (int k : v)
                        t.note(start + e * kEighth, kEighth / 2, channel, k, (e == 0 || e == 4) ? 78 : 60);
                }
                break;
            case Accomp::Waltz:
                // Bass-less off-beat chords: on beats 2, 3 and 4.
                for (int beat = 1; beat < 4; ++beat) {
                    for (int k : v)
                        t.note(start + beat * kQuarter, kQuarter * 3 / 4, channel, k, beat == 2 ? 58 : 50);
                }
                break;
            }
        }
    }

    void writeBass(SmfTrack& t, int channel, const Piece& piece)
    {
        for (std::size_t bar = 0; bar < piece.chords.size(); ++bar) {
            const Chord c = parseChord(piece.chords[bar]);
            const int root = 36 + c.root; // C2 .. B2
            const int fifth = root + 7;
            const std::uint32_t start = static_cast<std::uint32_t>(bar * kBar);
            switch (piece.bassStyle) {
            case Bass::Long:
                t.note(start, kBar - 10, channel, root, 80);
                break;
            case Bass::Halves:
                t.note(start, kQuarter * 2 - 20, channel, root, 86);
                t.note(start + kQuarter * 2, kQuarter * 2 - 20, channel, fifth, 76);
                break;
            case Bass::Walk: {
                const int line[4] = { root, fifth, root + 12, fifth };
                for (int b = 0; b < 4; ++b)
                    t.note(start + b * kQuarter, kQuarter - 30, channel, line[b], b == 0 ? 90 : 74);
                break;
            }
            case Bass::Drive:
                for (int e = 0; e < 8; ++e)
                    t.note(start + e * kEighth, kEighth - 30, channel, (e == 3 || e == 7) ? root + 12 : root, e % 2 ? 72 : 90);
                break;
            }
        }
    }

    void writeDrums(SmfTrack& t, const Piece& piece)
    {
        constexpr int kick = 36, snare = 38, stick = 37, hat = 42, openHat = 46, crash = 49, timpani = 47, ride = 51;
        const std::size_t bars = piece.chords.size();
        for (std::size_t bar = 0; bar < bars; ++bar) {
            const std::uint32_t s = static_cast<std::uint32_t>(bar * kBar);
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
                    t.note(s + e * kEighth, kEighth / 2, kDrums, e % 2 ? hat : ride, e % 2 ? 50 : 64);
                if (bar % 4 == 0)
                    t.note(s, kQuarter, kDrums, crash, 84);
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
        if (piece.chords.size() != piece.melody.size())
            throw std::logic_error(piece.name + ": chords and melody differ in length");
        const std::uint32_t end = static_cast<std::uint32_t>(piece.chords.size() * kBar);
        std::vector<SmfTrack> tracks;
        SmfTrack conductor(piece.name);
        conductor.tempo(0, piece.tempo);
        conductor.timeSignature(0, 4, 2);
        tracks.push_back(std::move(conductor));

        SmfTrack lead("melody");
        setUp(lead, 0, piece.lead);
        writeMelody(lead, 0, piece, 0, 96);
        tracks.push_back(std::move(lead));

        if (piece.counter.program >= 0) {
            SmfTrack counter("counter");
            setUp(counter, 3, piece.counter);
            writeMelody(counter, 3, piece, -12, 60);
            tracks.push_back(std::move(counter));
        }

        SmfTrack accomp("chords");
        setUp(accomp, 1, piece.accomp);
        writeAccompaniment(accomp, 1, piece);
        tracks.push_back(std::move(accomp));

        SmfTrack bass("bass");
        setUp(bass, 2, piece.bass);
        writeBass(bass, 2, piece);
        tracks.push_back(std::move(bass));

        if (piece.drums != Drums::None) {
            SmfTrack drums("drums");
            drums.controller(0, kDrums, 7, 96);
            drums.controller(0, kDrums, 91, 40);
            writeDrums(drums, piece);
            tracks.push_back(std::move(drums));
        }
        return { piece.name, writeSmf(tracks, kQuarter, end) };
    }

    // General MIDI programs used.
    constexpr int kPiano = 0, kStrings = 48, kSlowStrings = 49, kTrumpet = 56, kBrass = 61,
                  kHorn = 60, kOboe = 68, kFlute = 73, kGuitar = 24, kAcousticBass = 32, kFingerBass = 33,
                  kSynthBass = 38, kWarmPad = 89, kOrgan = 19, kContrabass = 43,
                  kSquareLead = 80, kPizzicato = 45;

    std::vector<Piece> pieces()
    {
        std::vector<Piece> out;
        out.push_back({ "title", 84, { kHorn, 110, 64 }, { kSlowStrings, 90, 50 }, { kContrabass, 100, 64 },
            { kStrings, 70, 80 }, Accomp::Pad, Bass::Halves, Drums::March,
            { "C", "G", "Am", "F", "C", "F", "G", "G", "F", "G", "Em", "Am", "F", "G", "C", "C" },
            { "G4:3 C5:1 E5:2 G5:2", "F5:3 E5:1 D5:4", "E5:3 D5:1 C5:2 E5:2", "A5:6 G5:2", "G5:3 E5:1 C5:2 E5:2",
                "F5:2 A5:2 C6:2 A5:2", "G5:3 F5:1 E5:2 D5:2", "D5:6 r:2", "C5:2 F5:2 A5:3 G5:1",
                "G5:2 D5:2 B4:2 D5:2", "E5:3 G5:1 B5:2 G5:2", "A5:6 E5:2", "F5:3 G5:1 A5:2 C6:2",
                "B5:3 A5:1 G5:2 D5:2", "E5:3 D5:1 C5:4", "C5:6 r:2" } });
        out.push_back({ "town", 112, { kFlute, 100, 70 }, { kGuitar, 88, 44 }, { kAcousticBass, 96, 64 },
            { -1, 0, 0 }, Accomp::Arpeggio, Bass::Walk, Drums::Light,
            { "G", "C", "D", "G", "G", "C", "D", "G", "Em", "C", "G", "D", "Em", "Am", "D", "G" },
            { "D5:1 G5:1 B5:2 A5:1 G5:1 D5:2", "E5:1 G5:1 C6:2 B5:1 A5:1 G5:2", "F#5:1 A5:1 D6:2 C6:1 A5:1 F#5:2",
                "G5:3 A5:1 B5:4", "D5:1 G5:1 B5:2 A5:1 G5:1 D5:2", "E5:1 G5:1 C6:2 B5:1 A5:1 E5:2",
                "D5:2 A5:2 G5:1 F#5:1 E5:1 F#5:1", "G5:6 r:2", "B5:3 A5:1 G5:2 B5:2", "C6:3 B5:1 A5:2 G5:2",
                "B5:2 D6:2 B5:2 G5:2", "A5:6 r:2", "G5:3 F#5:1 E5:2 G5:2", "A5:3 G5:1 E5:2 C6:2",
                "B5:2 A5:2 G5:2 F#5:2", "G5:6 r:2" } });
        out.push_back({ "field", 132, { kTrumpet, 96, 64 }, { kStrings, 84, 48 }, { kFingerBass, 100, 64 },
            { kHorn, 64, 84 }, Accomp::Stabs, Bass::Walk, Drums::Rock,
            { "D", "A", "Bm", "G", "D", "A", "G", "A", "G", "A", "F#m", "Bm", "G", "A", "D", "D", "Bm", "G", "D",
                "A", "Bm", "G", "Em", "A" },
            { "A4:2 D5:2 F#5:3 E5:1", "E5:2 C#5:2 A4:4", "B4:2 D5:2 F#5:2 B5:2", "A5:3 G5:1 F#5:2 E5:2",
                "F#5:3 G5:1 A5:2 D6:2", "C#6:3 B5:1 A5:2 E5:2", "B5:3 A5:1 G5:2 E5:2", "A5:6 r:2",
                "G5:2 B5:2 D6:3 B5:1", "C#6:2 A5:2 E5:4", "F#5:2 A5:2 C#6:3 A5:1", "B5:6 A5:2",
                "G5:3 F#5:1 E5:2 G5:2", "F#5:3 E5:1 D5:2 C#5:2", "D5:8", "r:2 D5:2 E5:2 F#5:2", "F#5:4 D5:2 F#5:2",
                "G5:4 B5:4", "A5:4 F#5:2 D5:2", "E5:6 r:2", "F#5:2 G5:2 A5:2 B5:2", "D6:4 B5:2 G5:2",
                "E5:2 G5:2 B5:2 A5:2", "A5:4 r:2 A4:2" } });
        out.push_back({ "dungeon", 88, { kOboe, 92, 70 }, { kWarmPad, 84, 64 }, { kContrabass, 96, 64 },
            { kPizzicato, 58, 40 }, Accomp::Pad, Bass::Long, Drums::None,
            { "Dm", "Dm", "Bb", "A", "Dm", "Gm", "A", "A", "Gm", "Dm", "Bb", "F", "Gm", "Dm", "A", "Dm" },
            { "D5:4 F5:2 E5:2", "D5:2 A4:6", "Bb4:2 D5:2 F5:2 D5:2", "C#5:6 r:2", "A5:4 G5:2 F5:2", "G5:3 F5:1 D5:4",
                "E5:2 C#5:2 E5:2 A5:2", "A5:6 r:2", "Bb5:4 A5:2 G5:2", "A5:4 F5:4", "F5:3 E5:1 D5:2 F5:2", "C5:6 r:2",
                "D5:2 G5:2 Bb5:2 A5:2", "F5:4 D5:4", "E5:2 F5:2 E5:2 C#5:2", "D5:6 r:2" } });
        out.push_back({ "btl", 168, { kSquareLead, 84, 64 }, { kStrings, 86, 44 }, { kSynthBass, 100, 64 },
            { kBrass, 70, 84 }, Accomp::Stabs, Bass::Drive, Drums::Battle,
            { "Am", "Am", "F", "G", "Am", "Am", "F", "E", "F", "G", "Em", "Am", "F", "G", "E", "E", "Dm", "Am", "Dm",
                "E", "F", "G", "Am", "E" },
            { "A5:1 A5:1 r:1 A5:1 G5:1 A5:1 C6:2", "B5:1 A5:1 G5:1 E5:1 r:2 E5:2", "F5:2 A5:2 C6:2 A5:2",
                "B5:2 G5:2 D5:2 G5:2", "A5:1 A5:1 r:1 A5:1 G5:1 A5:1 E6:2", "D6:1 C6:1 B5:1 A5:1 r:2 C6:2",
                "C6:2 A5:2 F5:2 A5:2", "G#5:4 B5:4", "C6:3 B5:1 A5:2 F5:2", "D6:3 C6:1 B5:2 G5:2",
                "E6:3 D6:1 B5:2 G5:2", "A5:6 r:2", "F5:2 A5:2 C6:2 F6:2", "E6:2 D6:2 B5:2 G5:2",
                "G#5:2 B5:2 E6:2 D6:2", "B5:4 G#5:4", "D5:2 F5:2 A5:2 D6:2", "C6:4 A5:4", "D6:2 C6:2 A5:2 F5:2",
                "E5:4 G#5:4", "A5:2 C6:2 F6:3 E6:1", "D6:3 C6:1 B5:2 G5:2", "A5:2 C6:2 E6:2 A6:2", "G#6:4 E6:4" } });
        out.push_back({ "boss", 152, { kBrass, 100, 64 }, { kOrgan, 76, 44 }, { kSynthBass, 100, 64 },
            { kStrings, 72, 84 }, Accomp::Stabs, Bass::Drive, Drums::Battle,
            { "Cm", "Cm", "Ab", "G", "Cm", "Fm", "G", "G", "Ab", "Bb", "Gm", "Cm", "Ab", "Fm", "G", "G", "Fm", "Cm",
                "Fm", "G", "Ab", "Bb", "G", "G" },
            { "C5:2 Eb5:2 G5:2 C6:2", "B5:2 C6:1 D6:1 Eb6:2 D6:2", "C6:3 Ab5:1 Eb5:4", "D5:2 G5:2 B5:2 D6:2",
                "Eb6:3 D6:1 C6:2 G5:2", "Ab5:3 G5:1 F5:2 C6:2", "B5:2 D6:2 F6:2 D6:2", "G5:6 r:2",
                "Ab5:2 C6:2 Eb6:3 C6:1", "D6:2 Bb5:2 F5:4", "G5:2 Bb5:2 D6:3 Bb5:1", "C6:6 r:2",
                "Eb6:2 D6:2 C6:2 Ab5:2", "F5:2 Ab5:2 C6:2 F6:2", "Eb6:2 D6:2 B5:2 G5:2", "B5:4 D6:4",
                "F5:1 F5:1 Ab5:2 C6:4", "Eb6:1 Eb6:1 D6:2 C6:4", "F6:2 Eb6:2 D6:2 C6:2", "B5:4 G5:4",
                "Ab5:2 C6:2 Eb6:2 Ab6:2", "G6:2 F6:2 D6:2 Bb5:2", "B5:2 D6:2 G6:2 F6:2", "D6:4 B5:4" } });
        out.push_back({ "ending", 76, { kFlute, 96, 70 }, { kPiano, 86, 50 }, { kAcousticBass, 84, 64 },
            { kSlowStrings, 56, 80 }, Accomp::Arpeggio, Bass::Long, Drums::None,
            { "F", "C", "Dm", "Bb", "F", "C", "Bb", "C", "Dm", "Bb", "F", "C", "Dm", "Bb", "C", "C", "F", "Bb", "C",
                "F" },
            { "C5:3 F5:1 A5:4", "G5:3 E5:1 C5:4", "D5:2 F5:2 A5:3 G5:1", "F5:6 r:2", "C5:3 F5:1 A5:2 C6:2",
                "Bb5:3 A5:1 G5:4", "F5:2 G5:2 A5:2 Bb5:2", "G5:6 r:2", "A5:3 G5:1 F5:2 A5:2", "D6:6 C6:2",
                "A5:3 G5:1 F5:2 C5:2", "E5:6 r:2", "F5:2 E5:2 D5:2 F5:2", "Bb5:4 A5:2 G5:2", "A5:2 G5:2 E5:2 G5:2",
                "G5:6 r:2", "A5:3 Bb5:1 C6:4", "D6:3 C6:1 Bb5:2 A5:2", "G5:4 E5:2 G5:2", "F5:6 r:2" } });
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
