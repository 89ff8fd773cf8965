// The one context object that holds all game state. Start-up makes one; tests make fresh ones.
// Every operation of the game takes it and works on the records it holds.
#pragma once

#include "core/test_play_state.h"
#include "core/battle_state.h"
#include "core/game.h"
#include "core/random.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/translation.h"
#include "core/transcript.h"
#include "core/upper_calls.h"
#include "data/database.h"
#include "data/saves.h"
#include "field/field_state.h"
#include "field/map_state.h"
#include "core/input.h"
#include "core/pacing.h"
#include "platform/platform.h"
#include "core/sound.h"
#include "platform/surfaces.h"
#include "ui/window_state.h"
#include "script/script_state.h"

#include <filesystem>

namespace vorn {

struct Context {
    Context(Platform& platformIn, Transcript& transcriptIn, std::filesystem::path rootIn, std::uint32_t seed);

    Platform& platform;
    Transcript& transcript;
    std::filesystem::path root; // the game folder
    // Where the settings file and the saved games are: the game folder, unless the player was
    // told to keep them elsewhere (a game folder that cannot be written).
    std::filesystem::path saveRoot;

    Random rng; // the one random source of the game, seeded once at start-up
    // random(): uniform in [0, 1).
    float random() { return rng.next(); }

    Database db;
    Translation translation; // the player's chosen language; empty: the game's own texts
    MessageTexts messages; // the engine's messages, translated or not
    Settings settings;
    GameState game;
    FieldState field;
    MapState map;
    SoundState sound;
    InputState input;
    PacingState pacing;
    Surfaces surfaces;
    SaveSlots saves;
    WindowState windows;
    ScriptState script;
    BattleState battle;

    UpperCalls upper; // operations of higher floors, filled at start-up
    TestPlayState testPlay; // the overlay's actions and the watched source of a test play
};

} // namespace vorn
