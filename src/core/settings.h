// The settings file vorn.ini: six fields read at start-up and written back at quit.
#pragma once

#include <string>

namespace vorn {

struct Context;

// Switches hold +1 for on and -1 for off; only +1 counts as on.
struct Settings {
    float musicOn = 1; // "ＢＧＭ"
    float soundOn = 1; // "効果音"
    float walkAnim = 1; // "人移動": wandering people move
    float walkDelay = 0; // "速　度": extra pause of walkDelay x 10 ms per field pass, 0 to 5
    std::string reserved; // written back unchanged
    float encounterMode = 1; // 1: battles only while walking; -1: also while standing
};

// The line written when the settings file is missing or unreadable.
extern const char* const defaultSettingsLine;

// Reads vorn.ini from the game folder; when it cannot be opened or read, writes the default
// line and reads that.
void readSettings(Context& ctx);
// Rewrites vorn.ini from the current settings.
void writeSettings(Context& ctx);

} // namespace vorn
