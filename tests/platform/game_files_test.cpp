// Game files: size limits (every kind refuses a file over its limit before reading it) and the
// paths shown in messages.
#include "platform/game_files.h"
#include "platform/media_command.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace vorn::test {
namespace {

    namespace fs = std::filesystem;

    // A file of `size` bytes that takes no disk space (a hole): reading it whole would be slow,
    // refusing it by its size is not.
    void makeSparseFile(const fs::path& path, std::uintmax_t size)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).put('x');
        fs::resize_file(path, size);
    }

    TEST(GameFileLimits, EveryKindRefusesAFileOneByteOverItsLimit)
    {
        TempDir dir;
        const struct {
            GameFileKind kind;
            const char* path;
        } files[] = {
            { GameFileKind::Database, "DAT\\vornITM.DAT" },
            { GameFileKind::Map, "DAT\\vornM001.dat" },
            { GameFileKind::Script, "DAT\\vornT001.dat" },
            { GameFileKind::Bitmap, "GRP\\TILES.BMP" },
            { GameFileKind::Sound, "WAV\\don.WAV" },
            { GameFileKind::Music, "MID\\field.MID" },
            { GameFileKind::Save, "SAV\\DATA1.DAT" },
        };
        for (const auto& f : files) {
            SCOPED_TRACE(f.path);
            std::uintmax_t limit = gameFileLimit(f.kind);
            EXPECT_GE(limit, 1u << 20); // every limit leaves room for any real game's files
            std::string relative = f.path;
            std::replace(relative.begin(), relative.end(), '\\', '/');
            makeSparseFile(dir.path() / relative, limit + 1);
            std::string why;
            EXPECT_FALSE(readGameFile(dir.path(), f.path, f.kind, &why));
            EXPECT_EQ(why, fileTooLargeReason(limit + 1, limit));
            EXPECT_NE(why.find("file too large"), std::string::npos);
        }
    }

    TEST(GameFileLimits, AFileOfExactlyTheLimitIsReadWhole)
    {
        TempDir dir;
        std::uintmax_t limit = gameFileLimit(GameFileKind::Save);
        makeSparseFile(dir.path() / "SAV" / "DATA2.DAT", limit);
        auto bytes = readGameFile(dir.path(), "SAV\\DATA2.DAT", GameFileKind::Save);
        ASSERT_TRUE(bytes);
        ASSERT_EQ(bytes->size(), limit);
        EXPECT_EQ((*bytes)[0], 'x');
        EXPECT_EQ(bytes->back(), 0);
    }

    TEST(GameFileLimits, MissingAndUnreadableFilesSayWhy)
    {
        TempDir dir;
        std::string why;
        EXPECT_FALSE(readGameFile(dir.path(), "DAT\\vornM009.dat", GameFileKind::Map, &why));
        EXPECT_EQ(why, "file not found");
        fs::create_directories(dir.path() / "DAT" / "vornM008.dat"); // a folder by the file's name
        EXPECT_FALSE(readGameFile(dir.path(), "DAT\\vornM008.dat", GameFileKind::Map, &why));
        EXPECT_EQ(why, "file cannot be read");
        std::ofstream(dir.path() / "DAT" / "vornM007.dat", std::ios::binary) << "8,8,";
        auto bytes = readGameFile(dir.path(), "dat\\VORNM007.DAT", GameFileKind::Map, &why);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "8,8,");
    }

    TEST(GameFileNames, PathsInMessagesAreShownWithForwardSlashes)
    {
        EXPECT_EQ(shownGamePath("DAT\\vornE007.dat"), "DAT/vornE007.dat");
        // The second byte of 表 (0x95 0x5C) is a backslash's byte but not a separator.
        EXPECT_EQ(shownGamePath("GRP\\\x95\x5C\\a.bmp"), "GRP/\x95\x5C/a.bmp");
        EXPECT_EQ(shownGamePath("\x95"), "\x95"); // a lead byte cut off at the end
        // Media paths lose the start directory they begin with, and come out in UTF-8.
        EXPECT_EQ(shownMediaPath("/games/q", "/games/q\\WAV\\\x95\x5C.WAV"), "WAV/表.WAV");
        EXPECT_EQ(shownMediaPath("/games/q", "/other\\MID\\a.MID"), "/other/MID/a.MID");
    }

} // namespace
} // namespace vorn::test
