// Writing files so that no link planted beside them is followed and no half-written file stays.
//
// Every file the player and its tools write goes through here. A new file is first made under a
// unique name beside its final place (NAME.tmp-XXXXXX in the same folder), created exclusively:
// whatever already stands at a name the program picks, a link above all, is never opened. Once
// written and flushed to disk it is renamed over NAME, which replaces what stood there (a link is
// replaced, never followed), and the folder is synced so that the rename itself is kept. The
// temporary files an earlier run left behind when it was killed are removed first.
//
// A FIFO or a character device standing at NAME, or reached from it through links, is written
// into directly (an output named /dev/null, /dev/stdout or a pipe): no file is overwritten that
// way. A FIFO that nobody reads is a failed write, not a wait.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string_view>

namespace vorn {

// A file being written under a temporary name until `commit` puts it in place.
class FileReplacement {
public:
    explicit FileReplacement(std::filesystem::path path);
    ~FileReplacement(); // an uncommitted temporary file is removed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Whether the file is open and every write so far succeeded.
    bool ok() const { return m_fd >= 0 && m_ok; }
    bool write(std::string_view bytes);
    // Flushes the file to disk, renames it over the final name and syncs the folder; false when
    // a step failed (then the final name is left as it was). `beforeRename` (tests) runs between
    // the flush and the rename. The file stays open: later writes go to the file now in place.
    bool commit(const std::function<void()>& beforeRename = {});

    // The temporary name while uncommitted (tests).
    const std::filesystem::path& temporaryPath() const { return m_temporary; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_temporary; // empty when writing into a FIFO or device directly
    int m_fd = -1;
    bool m_ok = false;
    bool m_committed = false;
};

// Writes a whole file through a FileReplacement: on failure (false) the old file is untouched.
bool writeWholeFileAtomically(
    const std::filesystem::path& path, std::string_view bytes, const std::function<void()>& beforeRename = {});

// Whether a file can be made in `folder` (a probe file under a temporary name, removed at once).
bool folderWritable(const std::filesystem::path& folder);

// An output written while the program runs (the transcript, a recording): an empty new file
// takes the place of whatever stood at the name at once, then every flush of `stream()` appends.
class OutputFile {
public:
    OutputFile();
    ~OutputFile() { m_stream.flush(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // False when the file cannot be made; the stream then stays failed.
    bool open(const std::filesystem::path& path);
    bool isOpen() const { return m_file != nullptr; }
    std::ostream& stream() { return m_stream; }

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(OutputFile& owner);

    protected:
        int_type overflow(int_type c) override;
        int sync() override;

    private:
        bool drain();
        OutputFile& m_owner;
        char m_bytes[4096];
    };
    std::unique_ptr<FileReplacement> m_file;
    Buffer m_buffer;
    std::ostream m_stream;
};

} // namespace vorn
