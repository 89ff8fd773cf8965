#include "platform/file_writing.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace fs = std::filesystem;

namespace {

    constexpr std::string_view temporaryMark = ".tmp";
    constexpr std::size_t uniqueLetters = 6;

    fs::path folderOf(const fs::path& path)
    {
        fs::path folder = path.parent_path();
        return folder.empty() ? fs::path(".") : folder;
    }

    bool isUniqueLetter(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

    // Whether `entry` is a temporary name of `name`: NAME.tmp (the fixed name of older versions)
    // or NAME.tmp-XXXXXX.
    bool isTemporaryOf(const std::string& entry, const std::string& name)
    {
        std::string stem = name + std::string(temporaryMark);
        if (entry == stem)
            return true;
        if (entry.size() != stem.size() + 1 + uniqueLetters || entry.compare(0, stem.size(), stem) != 0
            || entry[stem.size()] != '-')
            return false;
        for (std::size_t i = stem.size() + 1; i < entry.size(); ++i) {
            if (!isUniqueLetter(entry[i]))
                return false;
        }
        return true;
    }

    // Removes the temporary files of `path` that earlier runs left. A link is removed itself,
    // never what it points to; folders are left alone.
    void removeLeftovers(const fs::path& path)
    {
        std::string name = path.filename().string();
        std::error_code ec;
        for (fs::directory_iterator it(folderOf(path), ec), end; !ec && it != end; it.increment(ec)) {
            if (!isTemporaryOf(it->path().filename().string(), name))
                continue;
            std::error_code kind;
            fs::file_status status = it->symlink_status(kind);
            if (!kind && (fs::is_regular_file(status) || fs::is_symlink(status)))
                fs::remove(it->path(), kind);
        }
    }

    std::string uniqueSuffix(std::random_device& source)
    {
        static constexpr char letters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        std::uint64_t bits = (std::uint64_t(source()) << 32) ^ source();
        std::string suffix = "-";
        for (std::size_t i = 0; i < uniqueLetters; ++i, bits /= 62)
            suffix += letters[bits % 62];
        return suffix;
    }

    bool writeAll(int fd, std::string_view bytes)
    {
        while (!bytes.empty()) {
            ssize_t n = ::write(fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // What stands at `path` when it is a FIFO or a character device (reached through links or
    // not): opened for writing, or -1 with `failed` set when it cannot be (a FIFO nobody reads
    // would hold the program for ever, so it is opened without waiting). -1 without `failed`
    // when anything else stands there.
    int openSpecialFile(const fs::path& path, bool& failed)
    {
        struct stat before { };
        if (::stat(path.c_str(), &before) != 0 || !(S_ISFIFO(before.st_mode) || S_ISCHR(before.st_mode)))
            return -1;
        failed = true;
        int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return -1;
        // What was opened must be what was looked at, so that no file swapped in meanwhile is
        // written through a link.
        struct stat opened { };
        if (::fstat(fd, &opened) != 0 || opened.st_dev != before.st_dev || opened.st_ino != before.st_ino
            || !(S_ISFIFO(opened.st_mode) || S_ISCHR(opened.st_mode))) {
            ::close(fd);
            return -1;
        }
        int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        failed = false;
        return fd;
    }

    void syncFolder(const fs::path& folder)
    {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        ::fsync(fd); // some file systems cannot sync a folder; the rename has been made all the same
        ::close(fd);
    }

} // namespace

FileReplacement::FileReplacement(fs::path path)
    : m_path(std::move(path))
{
    if (m_path.filename().empty())
        return;
    bool failed = false;
    m_fd = openSpecialFile(m_path, failed);
    if (m_fd >= 0 || failed) {
        m_ok = m_fd >= 0;
        return;
    }
    removeLeftovers(m_path);
    std::random_device source;
    fs::path stem = m_path;
    stem += std::string(temporaryMark);
    for (int attempt = 0; attempt < 64; ++attempt) {
        fs::path candidate = stem;
        candidate += uniqueSuffix(source);
        // O_EXCL refuses any name already taken, a link included; O_NOFOLLOW says so twice.
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            m_temporary = std::move(candidate);
            m_ok = true;
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

FileReplacement::~FileReplacement()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

bool FileReplacement::write(std::string_view bytes)
{
    if (!ok())
        return false;
    m_ok = writeAll(m_fd, bytes);
    return m_ok;
}

bool FileReplacement::commit(const std::function<void()>& beforeRename)
{
    if (!ok() || m_committed)
        return false;
    if (m_temporary.empty()) {
        m_committed = true; // a FIFO or device: nothing to put in place
        return true;
    }
    if (::fsync(m_fd) != 0)
        return m_ok = false;
    if (beforeRename)
        beforeRename();
    if (::rename(m_temporary.c_str(), m_path.c_str()) != 0)
        return m_ok = false;
    m_committed = true;
    syncFolder(folderOf(m_path));
    return true;
}

bool writeWholeFileAtomically(const fs::path& path, std::string_view bytes, const std::function<void()>& beforeRename)
{
    FileReplacement file(path);
    return file.write(bytes) && file.commit(beforeRename);
}

bool folderWritable(const fs::path& folder)
{
    FileReplacement probe(folder / ".vorn-write-test");
    return probe.write("x"); // never committed: the probe goes with it
}

OutputFile::OutputFile()
    : m_buffer(*this)
    , m_stream(&m_buffer)
{
    m_stream.setstate(std::ios::badbit);
}

bool OutputFile::open(const fs::path& path)
{
    auto file = std::make_unique<FileReplacement>(path);
    if (!file->commit())
        return false;
    m_file = std::move(file);
    m_stream.clear();
    return true;
}

OutputFile::Buffer::Buffer(OutputFile& owner)
    : m_owner(owner)
{
    setp(m_bytes, m_bytes + sizeof m_bytes);
}

bool OutputFile::Buffer::drain()
{
    std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(m_bytes, m_bytes + sizeof m_bytes);
    return pending.empty() || (m_owner.m_file && m_owner.m_file->write(pending));
}

OutputFile::Buffer::int_type OutputFile::Buffer::overflow(int_type c)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int OutputFile::Buffer::sync() { return drain() ? 0 : -1; }

} // namespace vorn
