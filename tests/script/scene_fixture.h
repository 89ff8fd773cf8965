// A script run on a field: the fixture tile and character sheets, a map of walkable tiles drawn
// into the whole-map picture, the player standing on it, and map events placed by the test. The
// virtual clock stands at 0 when a test starts, so timeline shots fall at known moments of a run.
#pragma once

#include "core/context.h"
#include "field/field_ops.h"
#include "platform/encoding.h"
#include "script/interpreter.h"
#include "support/field_fixture.h"
#include "support/golden.h"
#include "support/test_context.h"

#include <string>
#include <utility>
#include <vector>

namespace vorn::test {

inline constexpr int sceneGround = 0xA0; // the tile every cell of the fixture map holds
inline constexpr int scenePlayerPicture = 2; // the player's picture code

class SceneFixture {
public:
    explicit SceneFixture(const std::string& timeline = "", int width = 24, int height = 20, int column = 5,
        int row = 5);

    Context& ctx() { return t.ctx(); }
    HeadlessPlatform& platform() { return t.platform(); }
    Picture& screen() { return t.platform().screen(); }

    // Map event `event` stands at the cell with the picture code (two hexadecimal digits).
    void placeEvent(int event, const std::string& code, int column, int row);
    // Replaces the lines of `event` (message text in UTF-8, command string) and ends it with "99".
    void setEvent(int event, const std::vector<std::pair<std::string, std::string>>& lines);
    // Runs the lines of `event` from line 0 with the interpreter.
    void run(int event = 0);
    // The same, expecting the event error dialog.
    void runExpectingEventError(int event = 0);
    // The media command strings sent so far.
    std::vector<std::string> media() const { return t.lines("media"); }
    float& flag(int a, int b) { return ctx().db.flags[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]; }
    // Writes a picture as GRP\<name>.bmp.
    void writePicture(const std::string& name, const Picture& picture);
    // A screen shot the timeline wrote.
    Picture shot(const std::string& name);

    TestContext t;
};

// A picture whose every pixel tells its position: red = x, green = y, blue 0x40.
Picture positionPicture(int width, int height);

} // namespace vorn::test
