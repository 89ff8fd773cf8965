#include "platform/sdl/sdl_media.h"

#include "platform/encoding.h"
#include "platform/game_files.h"
#include "platform/media_command.h"
#include "platform/midi_length.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fluidsynth.h>
#include <system_error>

namespace vorn {

namespace {

    const char* const SoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

    bool isMidiFile(const std::filesystem::path& path)
    {
        std::string extension = path.extension().string();
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return extension == ".mid" || extension == ".midi" || extension == ".rmi";
    }

    // How long an effect lasts, from its sample count and the device's format, in milliseconds.
    Uint64 chunkLengthMs(const Mix_Chunk* chunk)
    {
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        if (!chunk || !Mix_QuerySpec(&frequency, &format, &channels) || frequency <= 0 || channels <= 0)
            return 0;
        Uint64 bytesPerSecond = static_cast<Uint64>(frequency) * static_cast<Uint64>(channels)
            * (SDL_AUDIO_BITSIZE(format) / 8);
        return bytesPerSecond ? static_cast<Uint64>(chunk->alen) * 1000 / bytesPerSecond : 0;
    }

    bool isModeItem(const std::string& item)
    {
        std::string upper = item;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper == "MODE";
    }

} // namespace

SdlMedia::SdlMedia(std::filesystem::path startDirectory, std::function<void()> wait, int musicPercent, int soundPercent)
    : m_startDirectory(std::move(startDirectory))
    , m_wait(std::move(wait))
    , m_musicPercent(std::clamp(musicPercent, 0, 100))
    , m_soundPercent(std::clamp(soundPercent, 0, 100))
    , m_startTicks(SDL_GetTicks64())
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "vorn: no sound: %s\n", SDL_GetError());
        return;
    }
    m_audioStarted = true;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        std::fprintf(stderr, "vorn: no sound: %s\n", Mix_GetError());
        return;
    }
    m_device = true;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&m_frequency, &format, &m_channels) || m_channels <= 0 || m_frequency <= 0) {
        m_frequency = 44100;
        m_channels = 2;
    }
    // The synthesiser loads its soundfont while the game starts; the music stream plays
    // silence until then.
    Mix_HookMusic(&SdlMedia::renderMusic, this);
    Mix_SetPostMix(&SdlMedia::countFrames, this);
    m_synthThread = std::thread([this] { makeSynthesiser(); });
}

SdlMedia::~SdlMedia()
{
    if (m_synthThread.joinable())
        m_synthThread.join();
    for (auto& entry : m_entries)
        release(entry.second);
    m_entries.clear();
    if (m_device) {
        Mix_HookMusic(nullptr, nullptr);
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
    }
    if (m_player)
        delete_fluid_player(m_player);
    if (m_synth)
        delete_fluid_synth(m_synth);
    if (m_synthSettings)
        delete_fluid_settings(m_synthSettings);
    if (m_audioStarted) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlMedia::makeSynthesiser()
{
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    std::error_code error;
    if (settings) {
        fluid_settings_setnum(settings, "synth.sample-rate", m_frequency);
        // The player's clock is the synthesiser's own: a piece moves on only while it is rendered.
        fluid_settings_setstr(settings, "player.timing-source", "sample");
        // The music's level of the mixer's scale (at 128, six times the synthesiser's default
        // gain of 0.2).
        fluid_settings_setnum(settings, "synth.gain", MusicVolume * m_musicPercent / 100.0 * 1.2 / MIX_MAX_VOLUME);
        // At most 64 voices at once. The dense pieces (the field's, the battle's) hold about a
        // hundred, most of them the release tails of earlier notes: stealing those leaves an
        // error some 25 dB under the music and halves the synthesiser's work (about 5 % of a core
        // down to 2.5 % for those pieces on the test machine).
        fluid_settings_setint(settings, "synth.polyphony", 64);
        synth = new_fluid_synth(settings);
    }
    if (synth && (!std::filesystem::exists(SoundFont, error) || fluid_synth_sfload(synth, SoundFont, 1) == FLUID_FAILED)) {
        std::fprintf(stderr, "vorn: no music: cannot load the soundfont %s\n", SoundFont);
        delete_fluid_synth(synth);
        synth = nullptr;
    }
    lockAudio();
    m_synthSettings = settings;
    m_synth = synth;
    if (synth) {
        m_synthReady = true;
        if (m_current)
            startPiece();
    } else {
        m_synthFailed = true;
    }
    m_soundFontReadyMs = static_cast<double>(SDL_GetTicks64() - m_startTicks);
    unlockAudio();
}

bool SdlMedia::waitForSynthesiser()
{
    if (m_synthThread.joinable())
        m_synthThread.join();
    return m_synthReady;
}

SdlMedia::MusicTimes SdlMedia::musicTimes() const
{
    MusicTimes times = m_times;
    times.soundFontReadyMs = m_soundFontReadyMs;
    return times;
}

void SdlMedia::renderMusic(void* self, std::uint8_t* stream, int length)
{
    auto* media = static_cast<SdlMedia*>(self);
    // Held until the buffer is mixed (countFrames lets go), so the main thread never changes
    // the piece in the middle of a buffer.
    media->m_mixing.lock();
    media->m_mixLocked = true;
    std::memset(stream, 0, static_cast<std::size_t>(length));
    // Nothing to play costs nothing: the synthesiser runs only while a piece plays.
    if (!media->m_synthReady || !media->m_player)
        return;
    const int channels = media->m_channels;
    const int frames = length / static_cast<int>(sizeof(std::int16_t)) / channels;
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    if (channels == 2) {
        fluid_synth_write_s16(media->m_synth, frames, out, 0, 2, out, 1, 2);
    } else {
        // The synthesiser renders stereo: a mono device gets the mean, a larger one the front pair.
        std::vector<std::int16_t>& stereo = media->m_stereo;
        stereo.resize(static_cast<std::size_t>(frames) * 2);
        fluid_synth_write_s16(media->m_synth, frames, stereo.data(), 0, 2, stereo.data(), 1, 2);
        for (int i = 0; i < frames; ++i) {
            const int left = stereo[2 * static_cast<std::size_t>(i)], right = stereo[2 * static_cast<std::size_t>(i) + 1];
            if (channels == 1) {
                out[i] = static_cast<std::int16_t>((left + right) / 2);
            } else {
                out[static_cast<std::size_t>(i) * channels] = static_cast<std::int16_t>(left);
                out[static_cast<std::size_t>(i) * channels + 1] = static_cast<std::int16_t>(right);
            }
        }
    }
    media->m_renderedFrames = static_cast<std::uint64_t>(frames);
}

void SdlMedia::countFrames(void* self, std::uint8_t*, int)
{
    // The piece's clock moves once the whole buffer is mixed, so whatever looks at the mixed
    // stream (a test's capture) sees the frames before this buffer.
    auto* media = static_cast<SdlMedia*>(self);
    media->m_pieceFrames += media->m_renderedFrames;
    media->m_renderedFrames = 0;
    if (media->m_mixLocked) {
        media->m_mixLocked = false;
        media->m_mixing.unlock();
    }
}

std::string SdlMedia::command(const std::string& text)
{
    if (!m_device)
        return {};
    MediaCommand parsed = parseMediaCommand(text);
    if (parsed.alias.empty())
        return {};
    const Uint64 started = SDL_GetPerformanceCounter();
    auto found = m_entries.find(parsed.alias);
    bool music = found != m_entries.end() && found->second.piece;
    std::string answer;
    switch (parsed.verb) {
    case MediaCommand::Verb::Open:
        open(parsed.alias, parsed.path);
        found = m_entries.find(parsed.alias);
        music = found != m_entries.end() && found->second.piece;
        break;
    case MediaCommand::Verb::Close:
        close(parsed.alias);
        break;
    case MediaCommand::Verb::Play:
        if (found != m_entries.end())
            play(found->second, parsed.wait);
        break;
    case MediaCommand::Verb::Status:
        if (found != m_entries.end() && isModeItem(parsed.item))
            answer = status(found->second);
        music = false;
        break;
    case MediaCommand::Verb::Unknown:
        music = false;
        break;
    }
    if (music) {
        const double ms = static_cast<double>(SDL_GetPerformanceCounter() - started) * 1000.0
            / static_cast<double>(SDL_GetPerformanceFrequency());
        ++m_times.commands;
        m_times.longestMs = std::max(m_times.longestMs, ms);
    }
    return answer;
}

std::shared_ptr<const SdlMedia::Piece> SdlMedia::loadPiece(const std::filesystem::path& file, std::string& why)
{
    auto known = m_pieces.find(file);
    if (known != m_pieces.end())
        return known->second;
    auto bytes = readWholeFile(file, gameFileLimit(GameFileKind::Music), &why);
    if (!bytes)
        return nullptr;
    auto loopMs = musicLoopMs(*bytes);
    if (!loopMs) {
        why = "not a standard MIDI file";
        return nullptr;
    }
    auto piece = std::make_shared<Piece>();
    piece->bytes = std::move(*bytes);
    piece->loopFrames = *loopMs * static_cast<std::uint64_t>(m_frequency) / 1000;
    m_pieces.emplace(file, piece);
    return piece;
}

void SdlMedia::fault(const std::string& path, const std::string& why)
{
    std::string shown = shownMediaPath(m_startDirectory, path);
    // An effect without a name opens the channel only to close it again: it has no file.
    std::size_t name = shown.find_last_of('/');
    if (shown.compare(name == std::string::npos ? 0 : name + 1, 1, ".") == 0)
        return;
    if (!m_faulted.insert(shown).second)
        return;
    std::string line = std::string(isMidiFile(path) ? "no music: " : "no sound: ") + escapeControls(shown) + ": "
        + escapeControls(why);
    if (m_tell)
        m_tell(line);
    else
        std::fprintf(stderr, "vorn: %s\n", line.c_str());
}

void SdlMedia::open(const std::string& alias, const std::string& path)
{
    close(alias);
    auto file = resolveMediaPath(m_startDirectory, path);
    if (!file) {
        fault(path, "file not found");
        return;
    }
    Entry entry;
    if (isMidiFile(*file)) {
        std::string why;
        entry.piece = loadPiece(*file, why);
        if (!entry.piece) {
            fault(path, why);
            return;
        }
    } else {
        // Sound files are checked against their kind's limit before SDL_mixer reads them whole.
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(*file, error);
        if (!error && size > gameFileLimit(GameFileKind::Sound)) {
            fault(path, fileTooLargeReason(size, gameFileLimit(GameFileKind::Sound)));
            return;
        }
        entry.chunk = Mix_LoadWAV(file->c_str());
        if (!entry.chunk) {
            fault(path, Mix_GetError());
            return;
        }
        Mix_VolumeChunk(entry.chunk, MIX_MAX_VOLUME * m_soundPercent / 100);
    }
    m_entries.emplace(alias, entry);
}

void SdlMedia::startPiece()
{
    m_pieceFrames = 0;
    m_renderedFrames = 0;
    m_player = new_fluid_player(m_synth);
    if (m_player
        && (fluid_player_add_mem(m_player, m_current->bytes.data(), m_current->bytes.size()) != FLUID_OK
            || fluid_player_play(m_player) != FLUID_OK)) {
        delete_fluid_player(m_player);
        m_player = nullptr;
    }
}

void SdlMedia::stopPiece()
{
    if (m_player) {
        fluid_player_stop(m_player);
        delete_fluid_player(m_player);
        m_player = nullptr;
        // The next piece starts from a silent synthesiser with every channel at its defaults.
        fluid_synth_system_reset(m_synth);
    }
    m_current = nullptr;
    m_currentPlay = 0;
}

bool SdlMedia::playing(const Entry& entry) const
{
    if (entry.piece)
        return entry.playId != 0 && entry.playId == m_currentPlay;
    return entry.channel >= 0 && Mix_Playing(entry.channel) && Mix_GetChunk(entry.channel) == entry.chunk;
}

void SdlMedia::play(Entry& entry, bool wait)
{
    Uint64 lengthMs = 0;
    if (entry.piece) {
        // Only one piece plays at a time: whatever else was playing stops. With the device
        // locked, the piece's first frames are the next ones rendered.
        lockAudio();
        stopPiece();
        m_current = entry.piece;
        m_currentPlay = entry.playId = ++m_lastPlay;
        if (m_synthReady)
            startPiece();
        unlockAudio();
        if (m_synthFailed)
            return;
        lengthMs = 60 * 60 * 1000;
    } else {
        if (playing(entry))
            Mix_HaltChannel(entry.channel);
        entry.channel = Mix_PlayChannel(-1, entry.chunk, 0);
        if (entry.channel < 0)
            return;
        lengthMs = chunkLengthMs(entry.chunk);
    }
    if (!wait)
        return;
    // Block until the sound has finished; the window is serviced meanwhile. The bound keeps a
    // device that stops reporting progress from hanging the game.
    Uint64 limit = SDL_GetTicks64() + lengthMs + 2000;
    while (playing(entry) && SDL_GetTicks64() < limit)
        m_wait();
}

std::string SdlMedia::status(const Entry& entry) const
{
    if (entry.piece) {
        // A piece waiting for the soundfont plays on; one whose synthesiser could not be made
        // plays nothing and is left alone.
        if (!playing(entry))
            return "stopped";
        if (m_synthFailed || m_pieceFrames < entry.piece->loopFrames)
            return "playing";
        return "stopped";
    }
    return playing(entry) ? "playing" : "stopped";
}

void SdlMedia::close(const std::string& alias)
{
    auto found = m_entries.find(alias);
    if (found == m_entries.end())
        return;
    release(found->second);
    m_entries.erase(found);
}

void SdlMedia::release(Entry& entry)
{
    if (entry.piece && playing(entry)) {
        lockAudio();
        stopPiece();
        unlockAudio();
    }
    entry.piece = nullptr;
    if (entry.chunk) {
        Mix_FreeChunk(entry.chunk);
        entry.chunk = nullptr;
    }
    entry.channel = -1;
}

} // namespace vorn
