#include "platform/sdl/sdl_media.h"

#include "platform/game_files.h"
#include "platform/media_command.h"
#include "platform/midi_length.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
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
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "vorn: no sound: %s\n", SDL_GetError());
        return;
    }
    m_audioStarted = true;
    Mix_Init(MIX_INIT_MID);
    std::error_code error;
    if (std::filesystem::exists(SoundFont, error))
        Mix_SetSoundFonts(SoundFont);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        std::fprintf(stderr, "vorn: no sound: %s\n", Mix_GetError());
        return;
    }
    m_device = true;
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) && channels > 0)
        m_frameBytes = channels * (SDL_AUDIO_BITSIZE(format) / 8);
    Mix_SetPostMix(&SdlMedia::countFrames, this);
    Mix_VolumeMusic(MusicVolume * m_musicPercent / 100);
}

void SdlMedia::countFrames(void* self, std::uint8_t*, int length)
{
    auto* media = static_cast<SdlMedia*>(self);
    media->m_framesMixed += static_cast<std::uint64_t>(length / media->m_frameBytes);
}

SdlMedia::~SdlMedia()
{
    for (auto& entry : m_entries)
        release(entry.second);
    m_entries.clear();
    if (m_closedMusic.music)
        Mix_FreeMusic(m_closedMusic.music);
    if (m_device) {
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
    }
    if (m_audioStarted) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

std::string SdlMedia::command(const std::string& text)
{
    if (!m_device)
        return {};
    MediaCommand parsed = parseMediaCommand(text);
    if (parsed.alias.empty())
        return {};
    switch (parsed.verb) {
    case MediaCommand::Verb::Open:
        open(parsed.alias, parsed.path);
        return {};
    case MediaCommand::Verb::Close:
        close(parsed.alias);
        return {};
    case MediaCommand::Verb::Play: {
        auto found = m_entries.find(parsed.alias);
        if (found != m_entries.end())
            play(found->second, parsed.wait);
        return {};
    }
    case MediaCommand::Verb::Status: {
        auto found = m_entries.find(parsed.alias);
        if (found == m_entries.end() || !isModeItem(parsed.item))
            return {};
        return status(found->second);
    }
    case MediaCommand::Verb::Unknown:
        break;
    }
    return {};
}

void SdlMedia::open(const std::string& alias, const std::string& path)
{
    close(alias);
    auto file = resolveMediaPath(m_startDirectory, path);
    if (!file)
        return;
    Entry entry;
    if (isMidiFile(*file) && m_closedMusic.music && m_closedMusic.file == *file) {
        entry = m_closedMusic;
        m_closedMusic = {};
    } else if (isMidiFile(*file)) {
        entry.music = Mix_LoadMUS(file->c_str());
        entry.file = *file;
        auto bytes = readWholeFile(*file);
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        if (entry.music && bytes && Mix_QuerySpec(&frequency, &format, &channels))
            entry.lengthFrames = midiLengthMs(*bytes) * static_cast<std::uint64_t>(frequency) / 1000;
    } else {
        entry.chunk = Mix_LoadWAV(file->c_str());
        if (entry.chunk)
            Mix_VolumeChunk(entry.chunk, MIX_MAX_VOLUME * m_soundPercent / 100);
    }
    if (!entry.music && !entry.chunk) {
        std::fprintf(stderr, "vorn: cannot load %s: %s\n", file->c_str(), Mix_GetError());
        return;
    }
    m_entries.emplace(alias, entry);
}

// Whether the piece has played its whole length on the device clock.
bool SdlMedia::pastEnd(const Entry& entry) const
{
    return entry.lengthFrames > 0 && m_framesMixed - entry.startFrame >= entry.lengthFrames;
}

bool SdlMedia::playing(const Entry& entry) const
{
    if (entry.music)
        return Mix_PlayingMusic() && entry.channel == 0;
    return entry.channel >= 0 && Mix_Playing(entry.channel) && Mix_GetChunk(entry.channel) == entry.chunk;
}

void SdlMedia::play(Entry& entry, bool wait)
{
    Uint64 lengthMs = 0;
    if (entry.music) {
        // Only one piece plays at a time: whatever else was playing stops.
        for (auto& other : m_entries) {
            if (other.second.music)
                other.second.channel = -1;
        }
        // The clock is read with the device locked, so that the piece's first frames are the
        // next ones the mixer counts.
        SDL_LockAudio();
        const int result = Mix_PlayMusic(entry.music, 1);
        entry.startFrame = m_framesMixed;
        SDL_UnlockAudio();
        if (result != 0)
            return;
        entry.channel = 0;
        lengthMs = 60 * 60 * 1000;
    } else {
        if (m_skipEffects)
            return;
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
    if (entry.music && pastEnd(entry))
        return "stopped";
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
    if (entry.music) {
        if (playing(entry))
            Mix_HaltMusic();
        if (m_closedMusic.music)
            Mix_FreeMusic(m_closedMusic.music);
        m_closedMusic = entry;
        m_closedMusic.channel = -1;
        entry.music = nullptr;
    }
    if (entry.chunk) {
        Mix_FreeChunk(entry.chunk);
        entry.chunk = nullptr;
    }
    entry.channel = -1;
}

} // namespace vorn
