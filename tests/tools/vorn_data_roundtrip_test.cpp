// Games written field by field by a writer of their own (not the data tool) at every data version
// from 200 to 232, with every field distinct, the numbers the game reads past, bytes after the
// layouts, effect codes and attributes the old-format defaults replace, text that cp932 holds
// twice and bytes that are not text: dump then build must give the same bytes back.
#include "commands.h"
#include "game_source.h"
#include "source_yaml.h"

#include "platform/encoding.h"
#include "platform/game_files.h"
#include "platform/picture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <sstream>

namespace vorn::datatool {
namespace {

    namespace fs = std::filesystem;

    std::string sj(const char* utf8) { return utf8ToCp932(utf8); }

    // One file's text in the record format: a comma after every field, CR LF after every record;
    // a text with a comma is quoted, as the format asks.
    class FileText {
    public:
        template <class... Fields>
        FileText& rec(const Fields&... fields)
        {
            (field(fields), ...);
            m_text += "\r\n";
            return *this;
        }
        void raw(const std::string& bytes) { m_text += bytes; }
        const std::string& text() const { return m_text; }

    private:
        void field(int value) { m_text += std::to_string(value) + ","; }
        void field(const std::string& value)
        {
            m_text += value.find(',') != std::string::npos ? "\"" + value + "\"," : value + ",";
        }
        void field(const char* value) { field(std::string(value)); }

        std::string m_text;
    };

    constexpr int kRoster = 2, kSpellSlots = 2, kInventorySlots = 2, kLevels = 2, kTowns = 2, kItems = 2,
                  kEquipment = 1, kMaps = 2, kSpells = 2, kEnemies = 2;

    const char* const kFiles[] = { "vornINI.DAT", "vornMAX.DAT", "vornPLY.DAT", "vornLEV.DAT", "vornCTY.DAT",
        "vornITM.DAT", "vornARM.DAT", "vornEAP.DAT", "vornATS.DAT", "vornMGC.DAT", "vornene.DAT" };

    // A game at data version `version`: every number a different one, so that a field moved,
    // lost or swapped shows.
    struct WrittenGame {
        std::map<std::string, std::string> files; // game path -> bytes
        std::vector<std::string> media; // pictures and sounds it names
    };

    WrittenGame writeGame(int version)
    {
        WrittenGame game;
        int counter = 1;
        auto v = [&] { return counter++; };
        std::array<std::array<int, 8>, 11> trailers {};
        for (std::size_t f = 0; f < 11; ++f) {
            for (std::size_t i = 0; i < 8; ++i)
                trailers[f][i] = static_cast<int>(f + i);
        }
        auto trailer = [&](FileText& t, int file) {
            const auto& x = trailers[static_cast<std::size_t>(file)];
            t.rec(x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]);
        };
        // The correction sums the game forms from those trailers.
        auto tr = [&](int file, int field) { return trailers[static_cast<std::size_t>(file)][static_cast<std::size_t>(field - 1)]; };
        int col = tr(7, 3) + tr(7, 5), row = tr(6, 2) + tr(9, 3), entryEvent = tr(8, 7) + tr(2, 3),
            entryX = tr(3, 2) + tr(0, 5), entryY = tr(2, 7) + tr(1, 5);
        // Bytes after a layout: a note, a byte that is not text and the end-of-file byte with
        // more after it.
        std::string tail = sj("メモ,") + "\x80" + "1,\r\n\x1A junk";

        FileText ini;
        ini.rec(1, 1, v(), v(), 0, v(), 8, sj("題名") + "\xED\x40");
        trailer(ini, 0);
        ini.rec(version); // a version-200 file with its version line
        if (version > 205)
            ini.rec(v());
        if (version > 231)
            ini.rec(v(), v(), v(), v(), v(), v(), v(), v(), v(), v());
        ini.raw(tail);
        game.files["vornINI.DAT"] = ini.text();

        FileText max;
        max.rec(kRoster - 1, kSpellSlots, kInventorySlots, kLevels, kTowns, kItems, kEquipment, kMaps, kSpells,
            kEnemies);
        trailer(max, 1);
        if (version > 201)
            max.rec(v(), v());
        game.files["vornMAX.DAT"] = max.text();

        FileText ply;
        for (int c = 0; c < kRoster; ++c) {
            for (int i = 0; i < 6; ++i)
                ply.rec(v());
            ply.rec(sj(c ? "ミナ" : "レイ"), v(), v(), v(), v(), v(), v(), v(), v(), v(), v(), v(), v());
            for (int i = 0; i < 6 + kSpellSlots + 2 * kInventorySlots; ++i)
                ply.rec(v());
        }
        trailer(ply, 2);
        if (version > 205) {
            for (int i = 0; i < 2 * kRoster; ++i)
                ply.rec(v()); // critical rates, then attributes
        }
        if (version > 210) {
            for (int c = 0; c < kRoster; ++c) {
                ply.rec(v(), v());
                for (int i = 6; i <= 10; ++i)
                    ply.rec(v());
            }
        }
        if (version > 215) {
            for (int i = 0; i < kRoster * kInventorySlots; ++i)
                ply.rec(v());
        }
        ply.raw("\r\n");
        game.files["vornPLY.DAT"] = ply.text();

        FileText lev;
        for (int i = 0; i < kRoster * kLevels; ++i)
            lev.rec(v(), v(), v(), v(), v(), v(), v());
        trailer(lev, 3);
        if (version > 205) {
            for (int l = 0; l < kLevels; ++l)
                lev.rec(v());
        }
        if (version > 210) {
            for (int i = 0; i < kRoster * kLevels; ++i)
                lev.rec(v(), v());
        }
        game.files["vornLEV.DAT"] = lev.text();

        FileText cty;
        for (int i = 0; i < kTowns; ++i)
            cty.rec(v(), v());
        trailer(cty, 4);
        if (version > 205) {
            for (int i = 0; i < kTowns; ++i)
                cty.rec("back" + std::to_string(i));
        }
        if (version > 210) {
            cty.rec(1);
            for (int a = 0; a < 2; ++a) {
                cty.rec(sj(a ? "火" : "無"));
                cty.rec(v());
                cty.rec(v());
            }
        }
        game.files["vornCTY.DAT"] = cty.text();

        FileText itm;
        for (int i = 0; i < kItems; ++i) {
            std::string n = std::to_string(i);
            itm.rec(sj("薬草") + n + (i ? "\x80" : ""));
            itm.rec(sj("体力を、少し回復する"));
            itm.rec("");
            itm.rec(sj("メニュー") + n);
            itm.rec(sj("を使った"));
            itm.rec("PO-H" + n);
            itm.rec(sj("に使った"));
            itm.rec(v(), v(), v());
        }
        trailer(itm, 5);
        if (version > 205) {
            for (int i = 0; i < kItems; ++i)
                itm.rec(v());
        }
        if (version > 210) {
            for (int i = 0; i < kItems; ++i)
                itm.rec("use" + std::to_string(i), "pic" + std::to_string(i), v(), v());
        }
        game.files["vornITM.DAT"] = itm.text();

        FileText arm;
        for (int e = 0; e < kEquipment; ++e) {
            arm.rec(v(), v(), v(), 0);
            for (int c = 0; c < kRoster; ++c)
                arm.rec(v());
        }
        trailer(arm, 6);
        if (version > 205) {
            for (int e = 0; e < kEquipment; ++e)
                arm.rec(v());
        }
        if (version > 210) {
            for (int e = 0; e < kEquipment; ++e)
                arm.rec("hit", v(), v());
        }
        game.files["vornARM.DAT"] = arm.text();

        FileText eap;
        for (int m = 0; m < kMaps; ++m) {
            eap.rec(sj("草原") + std::to_string(m));
            for (int i = 0; i < 6; ++i)
                eap.rec(i < 2 ? i : 99);
        }
        trailer(eap, 7);
        game.files["vornEAP.DAT"] = eap.text();

        FileText ats;
        for (int threshold : { 100, 7, 40, 100 })
            ats.rec(threshold);
        trailer(ats, 8);
        game.files["vornATS.DAT"] = ats.text();

        FileText mgc;
        for (int s = 0; s < kSpells; ++s) {
            std::string n = std::to_string(s);
            for (const char* text : { "ヒール", "傷を治す", "", "三", "を唱えた" })
                mgc.rec(sj(text) + n);
            mgc.rec(v(), v(), "PO-" + n);
        }
        trailer(mgc, 9);
        if (version > 205) {
            for (int s = 0; s < kSpells; ++s)
                mgc.rec(v());
        }
        if (version > 210) {
            for (int s = 0; s < kSpells; ++s) {
                mgc.rec("spell" + std::to_string(s), "zap", v());
                for (int c = 0; c < kRoster; ++c)
                    mgc.rec("cast" + std::to_string(c));
            }
        }
        game.files["vornMGC.DAT"] = mgc.text();

        FileText ene;
        for (int n = 0; n < kEnemies; ++n) {
            for (int i = 0; i < 6; ++i)
                ene.rec(v());
            ene.rec(sj("スライム") + std::to_string(n), v(), v(), v(), v(), v(), v(), v(), 0, 0, 1, 99, 99, 99, 99,
                v(), v(), 1, v());
        }
        trailer(ene, 10);
        if (version > 205) {
            for (int n = 0; n < kEnemies; ++n) {
                ene.rec(v());
                ene.rec(v());
                ene.rec(v());
                ene.rec(v(), v());
            }
            for (int n = 0; n < kEnemies; ++n)
                ene.rec(v());
        }
        if (version > 210) {
            for (int n = 0; n < kEnemies; ++n) {
                ene.rec("mon" + std::to_string(n), v(), v());
                for (int i = 6; i <= 10; ++i)
                    ene.rec(v());
            }
        }
        ene.raw(tail);
        game.files["vornene.DAT"] = ene.text();

        FileText opening;
        opening.rec(v());
        opening.rec("", "POS,3,5,26,14,0,15,NEX");
        opening.rec(sj("むかしむかし"), "END");
        opening.rec("99");
        opening.rec(v(), v(), v(), v(), v(), v(), v(), v());
        opening.raw(tail);
        game.files["vornTOPN.dat"] = opening.text();
        FileText ending;
        ending.rec(v());
        ending.rec(sj("おしまい"), "END");
        ending.rec("99");
        ending.raw("\r\n");
        game.files["vornTEND.dat"] = ending.text();

        // Map 1: a header with corrections, three rows, the exit record, the battle record (its
        // noWarp and maxEnemySize count only above 231) and bytes after it.
        FileText m;
        m.rec(4 + col, 3 + row, v() + entryEvent, v() + entryX, v() + entryY, "", "tiles", "chars");
        for (int r = 0; r < 3; ++r)
            m.rec("B0B0B0B0");
        m.rec(999, 999, 999, 999, v(), v());
        m.rec(1, 4, v(), v(), v(), v(), v(), v(), v(), v());
        m.raw(tail);
        game.files["vornM001.dat"] = m.text();
        FileText t;
        t.rec("06");
        t.rec(1 + col, 1 + row, "1", v() + entryEvent);
        t.rec(sj("こんにちは"), "END");
        t.rec("99");
        t.rec("99");
        t.raw(tail);
        game.files["vornT001.dat"] = t.text();
        FileText e;
        e.rec(0 + col, 1 + row, "=", 1 + entryEvent);
        e.rec(99 + entryX);
        e.rec("99");
        e.rec(99 + col);
        e.raw(tail);
        game.files["vornE001.dat"] = e.text();

        game.media = { "FONT.BMP", "GRP/back0.bmp", "GRP/back1.bmp", "WAV/use0.WAV", "WAV/use1.WAV", "WAV/hit.WAV",
            "WAV/ATC.WAV", "WAV/zap.WAV", "WAV/mgc.WAV", "WAV/cast0.WAV", "WAV/cast1.WAV" };
        for (int n = 0; n < kEnemies; ++n) {
            for (const std::string& name : { "mon" + std::to_string(n), "enemy" + std::to_string(n) }) {
                game.media.push_back("GRP/" + name + ".bmp");
                game.media.push_back("GRP/" + name + "m.bmp");
            }
        }
        return game;
    }

    void placeGame(const WrittenGame& game, const fs::path& root)
    {
        fs::create_directories(root / "DAT");
        for (const auto& [name, bytes] : game.files)
            std::ofstream(root / "DAT" / name, std::ios::binary) << bytes;
        for (const std::string& name : game.media) {
            fs::create_directories((root / name).parent_path());
            std::ofstream(root / name, std::ios::binary) << "x";
        }
        for (const char* sheet : { "GRP/tiles.BMP", "GRP/chars.BMP" })
            ASSERT_TRUE(saveBmpFile(Picture(512, 512), (root / sheet).string()));
    }

    std::string bytesOf(const fs::path& path)
    {
        auto bytes = readWholeFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("(missing)");
    }

    class IndependentRoundTrip : public ::testing::TestWithParam<int> { };

    TEST_P(IndependentRoundTrip, DumpThenBuildGivesEveryByteBack)
    {
        int version = GetParam();
        WrittenGame written = writeGame(version);
        test::TempDir dir;
        fs::path game = dir.file("game"), source = dir.file("source");
        placeGame(written, game);

        std::ostringstream log;
        ASSERT_EQ(dumpCommand(game, source, log), 0) << log.str();
        // The bytes that are not text are kept with a warning naming where they stand.
        EXPECT_NE(log.str().find("warning: items.yaml: line"), std::string::npos) << log.str();
        EXPECT_NE(log.str().find("{{80}}"), std::string::npos) << log.str();
        // Reading the source and writing the data files gives every file back as it was. (The game's
        // values are all different, not meaningful: build's checks of what the values name would
        // refuse it, so the source is read and written without them.)
        for (const auto& entry : fs::directory_iterator(game / "DAT"))
            fs::remove(entry.path());
        SourceLocator locator(source);
        Report report(&locator);
        SourceReader reader(source, report, locator);
        GameSource read = readSource(reader);
        std::ostringstream problems;
        report.print(problems);
        ASSERT_EQ(report.errors(), 0) << problems.str();
        writeGameData(read, game);
        for (const auto& [name, bytes] : written.files)
            EXPECT_EQ(bytesOf(game / "DAT" / name), bytes) << name << " at version " << version;
        int files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(game / "DAT"))
            ++files;
        EXPECT_EQ(files, static_cast<int>(written.files.size()));
    }

    INSTANTIATE_TEST_SUITE_P(EveryDataVersion, IndependentRoundTrip, ::testing::Range(200, 233));

} // namespace
} // namespace vorn::datatool
