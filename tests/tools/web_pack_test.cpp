// vorn-data web: the page folder holds the player's files, the game as a compressed archive that
// a standard tar reads back byte for byte, without the desktop player's settings and saves, and
// the fonts cut to cp932 and to the characters the page needs at first.
#include "commands.h"
#include "font_probe.h"

#include "platform/encoding.h"
#include "platform/text_renderer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vorn::datatool {
namespace {

    namespace fs = std::filesystem;

    void write(const fs::path& path, const std::string& bytes)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Every regular file under `dir`, as path -> bytes.
    std::map<std::string, std::string> filesUnder(const fs::path& dir)
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            if (entry.is_regular_file())
                files[fs::relative(entry.path(), dir).generic_string()] = read(entry.path());
        }
        return files;
    }

    const std::string longFolder = std::string(60, 'g') + "/" + std::string(70, 'h');

    struct Folders {
        test::TempDir dir;
        fs::path game = dir.file("game");
        fs::path player = dir.file("player");
        fs::path out = dir.file("page");

        Folders()
        {
            write(game / "DAT/vornINI.DAT", "title,\r\n");
            write(game / "GRP/KAO/face.BMP", std::string(1000, '\x42'));
            write(game / "FONT.BMP", std::string(513, '\0') + "end");
            write(game / "empty.txt", "");
            write(game / longFolder / "deep.WAV", "wave");
            // The desktop player's own files.
            write(game / "vorn.ini", "settings");
            write(game / "SAV/DATA1.DAT", "a save");
            for (const char* name : { "index.html", "vorn.js", "vorn.wasm", "soundfont.sf2" })
                write(player / name, std::string("player file ") + name);
            fs::create_directories(player / "fonts");
            fs::copy_file(fontFile(FontFace::Gothic), player / "fonts/ipag.ttf");
        }
    };

    TEST(WebPack, ThePageHoldsThePlayerAndAnArchiveThatTarUnpacksToTheGame)
    {
        Folders f;
        std::ostringstream out;
        ASSERT_EQ(webCommand(f.game, f.out, f.player, out), 0) << out.str();

        auto page = filesUnder(f.out);
        for (const auto& [name, bytes] : filesUnder(f.player)) {
            if (name.rfind("fonts/", 0) != 0) {
                EXPECT_EQ(page[name], bytes) << name;
            }
        }

        fs::path unpacked = f.dir.file("unpacked");
        fs::create_directories(unpacked);
        std::string command = "tar -xzf '" + (f.out / "game.tar.gz").string() + "' -C '" + unpacked.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        auto game = filesUnder(f.game);
        game.erase("vorn.ini");
        game.erase("SAV/DATA1.DAT");
        EXPECT_EQ(filesUnder(unpacked), game);
    }

    TEST(WebPack, TheSameGamePacksToTheSameArchive)
    {
        Folders f;
        std::ostringstream out;
        ASSERT_EQ(webCommand(f.game, f.out, f.player, out), 0);
        std::string first = read(f.out / "game.tar.gz");
        // Files made in another order and at other times give the same bytes.
        fs::remove(f.game / "empty.txt");
        write(f.game / "empty.txt", "");
        ASSERT_EQ(webCommand(f.game, f.dir.file("again"), f.player, out), 0);
        EXPECT_EQ(read(f.dir.file("again") / "game.tar.gz"), first);
    }

    TEST(WebPack, TheFontsHoldCp932AndAtFirstWhatTheGameAndThePlayerWrite)
    {
        Folders f;
        write(f.game / "DAT/vornT001.dat", utf8ToCp932("「蜂だ！」,NEX,\r\n"));
        write(f.game / "GRP/odd.bmp", utf8ToCp932("鰻"));
        write(f.player / "program-characters.txt", "魔王");
        std::ostringstream out;
        ASSERT_EQ(webCommand(f.game, f.out, f.player, out), 0) << out.str();
        EXPECT_FALSE(fs::exists(f.out / "program-characters.txt"));

        test::FontProbe first(read(f.out / "fonts/game/ipag.ttf"));
        test::FontProbe cp932(read(f.out / "fonts/ipag.ttf"));
        ASSERT_TRUE(first.opened() && cp932.opened());
        // Kana, letters and symbols, the game's kanji and the player's.
        for (char32_t c : { U'あ', U'ア', U'ｱ', U'Ａ', U'①', U'「', U'蜂', U'魔', U'王' })
            EXPECT_TRUE(first.has(c)) << static_cast<unsigned>(c);
        // Kanji of neither, nor of a picture's bytes, come with the whole font only.
        for (char32_t c : { U'鬱', U'鰻' }) {
            EXPECT_FALSE(first.has(c)) << static_cast<unsigned>(c);
            EXPECT_TRUE(cp932.has(c)) << static_cast<unsigned>(c);
        }
        // The cp932 cut leaves out what cp932 cannot write.
        test::FontProbe whole(read(f.player / "fonts/ipag.ttf"));
        EXPECT_TRUE(whole.has(U'丂'));
        EXPECT_FALSE(cp932.has(U'丂'));
    }

    TEST(WebPack, ANonGameOrAnUnbuiltPlayerIsRefusedBeforeAnythingIsWritten)
    {
        Folders f;
        std::ostringstream out;
        fs::remove(f.player / "vorn.wasm");
        EXPECT_EQ(webCommand(f.game, f.out, f.player, out), 1);
        EXPECT_NE(out.str().find("vorn.wasm"), std::string::npos);
        EXPECT_FALSE(fs::exists(f.out));

        EXPECT_EQ(webCommand(f.dir.file("nothing"), f.out, f.player, out), 1);
        EXPECT_FALSE(fs::exists(f.out));
    }

    TEST(UstarArchive, NamesThatFitNoHeaderAreRefused)
    {
        std::string error;
        // 101 bytes with no slash, and a last component over 100 bytes.
        EXPECT_FALSE(ustarArchive({ { std::string(101, 'n'), {} } }, error));
        EXPECT_FALSE(ustarArchive({ { "dir/" + std::string(101, 'n'), {} } }, error));
        EXPECT_NE(error.find("too long"), std::string::npos);
        // A prefix of 155 bytes and a name of 100 fit.
        EXPECT_TRUE(ustarArchive({ { std::string(155, 'p') + "/" + std::string(100, 'n'), {} } }, error));
        EXPECT_FALSE(ustarArchive({ { std::string(156, 'p') + "/" + std::string(100, 'n'), {} } }, error));
    }

} // namespace
} // namespace vorn::datatool
