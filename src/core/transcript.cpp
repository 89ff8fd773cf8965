#include "core/transcript.h"

#include "platform/encoding.h"
#include "platform/file_writing.h"

namespace vorn {

Transcript::Transcript() = default;
Transcript::~Transcript() = default;

bool Transcript::open(const std::string& path)
{
    auto file = std::make_unique<OutputFile>();
    if (!file->open(path))
        return false;
    m_file = std::move(file);
    return true;
}

void Transcript::write(const std::string& kind, const std::string& utf8)
{
    std::string text = utf8;
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    }
    if (m_file) {
        std::uint64_t now = m_clock ? m_clock() : 0;
        m_file->stream() << now << '\t' << kind << '\t' << text << '\n';
        m_file->stream().flush();
    }
    if (m_observer)
        m_observer(kind, text);
}

void Transcript::writeGameText(const std::string& kind, const std::string& cp932)
{
    write(kind, cp932ToUtf8(cp932));
}

} // namespace vorn
