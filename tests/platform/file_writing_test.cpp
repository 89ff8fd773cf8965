// Files written beside planted links: a link at the file's name, at the temporary names older
// versions used and at names shaped like today's temporary names is never followed; leftovers of
// killed runs go; a failed write keeps the old file; the write probe and the outputs written as
// they go (transcript, recording) behave the same; a FIFO or device is written into, never replaced.
#include "platform/file_writing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

    namespace fs = std::filesystem;
    using test::TempDir;

    std::string readText(const fs::path& path)
    {
        std::ostringstream out;
        out << std::ifstream(path, std::ios::binary).rdbuf();
        return out.str();
    }

    void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    bool isPlainFile(const fs::path& path) { return fs::is_regular_file(fs::symlink_status(path)); }

    bool standsThere(const fs::path& path) { return fs::exists(fs::symlink_status(path)); }

    // Files outside the folder being written, each with known contents, and links to them.
    class PlantedLinks : public ::testing::Test {
    protected:
        TempDir dir;
        fs::path folder = dir.file("game");
        fs::path outside = dir.file("outside");
        void SetUp() override
        {
            fs::create_directories(folder);
            fs::create_directories(outside);
        }
        // A link at `name` in the folder to a new file outside holding "victim NAME".
        fs::path plant(const std::string& name)
        {
            fs::path victim = outside / ("victim-" + name);
            writeText(victim, "victim " + name);
            fs::create_symlink(victim, folder / name);
            return victim;
        }
        void expectUntouched(const fs::path& victim)
        {
            EXPECT_EQ(readText(victim), "victim " + victim.filename().string().substr(7)) << victim;
        }
        // Names in the folder other than `keep`.
        std::vector<std::string> othersThan(const std::string& keep)
        {
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(folder)) {
                if (entry.path().filename() != keep)
                    names.push_back(entry.path().filename().string());
            }
            return names;
        }
    };

} // namespace

TEST_F(PlantedLinks, AWholeFileReplacesALinkAtItsNameAndAtEveryTemporaryName)
{
    fs::path atName = plant("vorn.ini");
    fs::path atOldTemporary = plant("vorn.ini.tmp");
    fs::path atNewTemporary = plant("vorn.ini.tmp-a1B2c3");
    writeText(folder / "vorn.ini.tmp-Zz9900", "a leftover of a killed run");
    ASSERT_TRUE(writeWholeFileAtomically(folder / "vorn.ini", "1,1,1,0,\"\",1,\r\n"));
    EXPECT_TRUE(isPlainFile(folder / "vorn.ini"));
    EXPECT_EQ(readText(folder / "vorn.ini"), "1,1,1,0,\"\",1,\r\n");
    for (const fs::path& victim : { atName, atOldTemporary, atNewTemporary })
        expectUntouched(victim);
    EXPECT_TRUE(othersThan("vorn.ini").empty()) << "the leftover temporary names are removed";
    // The write went by its own new name, so a second one replaces the first the same way.
    ASSERT_TRUE(writeWholeFileAtomically(folder / "vorn.ini", "again"));
    EXPECT_EQ(readText(folder / "vorn.ini"), "again");
}

TEST_F(PlantedLinks, OnlyTheFilesOwnTemporaryNamesCountAsLeftovers)
{
    writeText(folder / "DATA1.DAT.tmp-abc", "too short a suffix");
    writeText(folder / "DATA1.DAT.tmp-abcdefg", "too long a suffix");
    writeText(folder / "DATA1.DAT.tmp-ab.def", "not a letter or digit");
    writeText(folder / "DATA2.DAT.tmp", "another file's temporary");
    fs::create_directory(folder / "DATA1.DAT.tmp-folder");
    ASSERT_TRUE(writeWholeFileAtomically(folder / "DATA1.DAT", "slot"));
    EXPECT_EQ(othersThan("DATA1.DAT").size(), 5u);
}

TEST_F(PlantedLinks, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    writeText(folder / "DATA3.DAT", "old slot");
    bool sawTheNewFile = false;
    ASSERT_TRUE(writeWholeFileAtomically(folder / "DATA3.DAT", "new slot", [&] {
        // Between the flush and the rename the old slot is whole and the new one lies beside it.
        EXPECT_EQ(readText(folder / "DATA3.DAT"), "old slot");
        for (const std::string& name : othersThan("DATA3.DAT"))
            sawTheNewFile = readText(folder / name) == "new slot";
    }));
    EXPECT_TRUE(sawTheNewFile);

    // A folder in the way of the rename: the write fails and its temporary file goes.
    fs::create_directories(folder / "busy" / "inside");
    EXPECT_FALSE(writeWholeFileAtomically(folder / "busy", "x"));
    EXPECT_TRUE(fs::is_directory(folder / "busy" / "inside"));
    EXPECT_FALSE(writeWholeFileAtomically(folder / "missing" / "DATA1.DAT", "x"));
    EXPECT_EQ(othersThan("DATA3.DAT").size(), 1u) << "only the folder is left beside the slot";
    EXPECT_FALSE(writeWholeFileAtomically(folder / "", "x"));
}

TEST_F(PlantedLinks, TheWriteProbeNeitherFollowsALinkNorStays)
{
    fs::path victim = plant(".vorn-write-test");
    fs::path oldTemporary = plant(".vorn-write-test.tmp");
    EXPECT_TRUE(folderWritable(folder));
    expectUntouched(victim);
    expectUntouched(oldTemporary);
    EXPECT_EQ(othersThan("").size(), 1u) << "the probe and the old temporary link are gone; the link at the probe's name is left";
    EXPECT_FALSE(folderWritable(folder / "missing"));
}

TEST_F(PlantedLinks, AnOutputWrittenAsItGoesTakesThePlaceOfALinkAtOnce)
{
    fs::path victim = plant("transcript.txt");
    fs::path temporary = plant("transcript.txt.tmp");
    OutputFile out;
    EXPECT_FALSE(out.isOpen());
    ASSERT_TRUE(out.open(folder / "transcript.txt"));
    EXPECT_TRUE(isPlainFile(folder / "transcript.txt"));
    out.stream() << "0\ttext\tone\n";
    out.stream().flush();
    EXPECT_EQ(readText(folder / "transcript.txt"), "0\ttext\tone\n") << "a flushed line is in the file at once";
    out.stream() << std::string(10000, 'x') << "\n";
    out.stream().flush();
    EXPECT_EQ(readText(folder / "transcript.txt").size(), 11u + 10001u);
    expectUntouched(victim);
    expectUntouched(temporary);
    EXPECT_FALSE(standsThere(folder / "transcript.txt.tmp"));

    OutputFile nowhere;
    EXPECT_FALSE(nowhere.open(folder / "missing" / "transcript.txt"));
    nowhere.stream() << "lost";
    EXPECT_FALSE(nowhere.stream());
}

TEST_F(PlantedLinks, AFifoOrDeviceAtTheNameOrBehindALinkIsWrittenIntoAndStays)
{
    fs::path fifo = folder / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, folder / "to-pipe");
    int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        OutputFile out;
        ASSERT_TRUE(out.open(fifo));
        out.stream() << "through the pipe\n";
        out.stream().flush();
    }
    ASSERT_TRUE(writeWholeFileAtomically(folder / "to-pipe", "through the link\n"));
    char bytes[64] = {};
    ssize_t n = ::read(reader, bytes, sizeof bytes - 1);
    ::close(reader);
    EXPECT_EQ(std::string(bytes, n > 0 ? static_cast<std::size_t>(n) : 0), "through the pipe\nthrough the link\n");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "to-pipe")));

    // Nobody reads the FIFO now: the write fails at once instead of waiting for a reader.
    EXPECT_FALSE(writeWholeFileAtomically(fifo, "nobody listens"));
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_EQ(othersThan("pipe").size(), 1u) << "only the link beside the FIFO";

    EXPECT_TRUE(writeWholeFileAtomically("/dev/null", "into nothing"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

} // namespace vorn
