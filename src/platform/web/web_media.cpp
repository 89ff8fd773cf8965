#include "platform/web/web_media.h"

#include "platform/game_files.h"
#include "platform/media_command.h"
#include "platform/midi_length.h"
#include "platform/wave_length.h"

#include <utility>

namespace vorn {

WebMedia::WebMedia(std::filesystem::path startDirectory, AudioOutput& output, std::function<std::uint64_t()> now,
    std::function<void(std::uint64_t)> waitUntil)
    : m_startDirectory(std::move(startDirectory))
    , m_output(output)
    , m_now(std::move(now))
    , m_waitUntil(std::move(waitUntil))
{
}

std::string WebMedia::command(const std::string& text)
{
    MediaCommand cmd = parseMediaCommand(text);
    using V = MediaCommand::Verb;
    if (cmd.alias == "WAVE1") {
        if (cmd.verb == V::Open) {
            auto path = resolveMediaPath(m_startDirectory, cmd.path);
            auto bytes = path ? readWholeFile(*path, gameFileLimit(GameFileKind::Sound)) : std::nullopt;
            m_waveOpen = bytes && waveLengthUs(*bytes) > 0;
            m_wave = m_waveOpen ? std::move(*bytes) : std::vector<std::uint8_t>();
            m_waveName = m_waveOpen ? path->string() : std::string();
            m_waveMs = m_waveOpen ? (waveLengthUs(m_wave) + 999) / 1000 : 0;
        } else if (cmd.verb == V::Play && m_waveOpen) {
            m_output.playEffect(m_waveName, m_wave);
            if (cmd.wait)
                m_waitUntil(m_now() + m_waveMs);
        } else if (cmd.verb == V::Close && m_waveOpen) {
            m_output.stopEffect();
            m_waveOpen = false;
            m_wave.clear();
        }
        return "";
    }
    if (cmd.alias == "MIDI1") {
        if (cmd.verb == V::Open) {
            if (m_midiPlaying)
                m_output.stopMusic();
            auto path = resolveMediaPath(m_startDirectory, cmd.path);
            auto bytes = path ? readWholeFile(*path, gameFileLimit(GameFileKind::Music)) : std::nullopt;
            auto loopMs = bytes ? musicLoopMs(*bytes) : std::nullopt;
            m_midiOpen = loopMs.has_value();
            m_midiPlaying = false;
            m_midi = m_midiOpen ? std::move(*bytes) : std::vector<std::uint8_t>();
            m_midiLoopMs = loopMs.value_or(0);
        } else if (cmd.verb == V::Play && m_midiOpen) {
            std::uint64_t now = m_now();
            if (!m_midiPlaying || now >= m_midiEndMs) {
                m_output.playMusic(m_midi);
                m_midiPlaying = true;
                m_midiEndMs = now + m_midiLoopMs;
            }
        } else if (cmd.verb == V::Close && m_midiOpen) {
            if (m_midiPlaying)
                m_output.stopMusic();
            m_midiOpen = false;
            m_midiPlaying = false;
            m_midi.clear();
        } else if (cmd.verb == V::Status && m_midiOpen) {
            return m_midiPlaying && m_now() < m_midiEndMs ? "playing" : "stopped";
        }
    }
    return "";
}

} // namespace vorn
