#include "core/transcript.h"

#include "platform/encoding.h"

namespace vorn {

bool Transcript::open(const std::string& path)
{
    m_file.open(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(m_file);
}

void Transcript::write(const std::string& kind, const std::string& utf8)
{
    std::string text = utf8;
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    }
    if (m_file.is_open()) {
        std::uint64_t now = m_clock ? m_clock() : 0;
        m_file << now << '\t' << kind << '\t' << text << '\n';
        m_file.flush();
    }
    if (m_observer)
        m_observer(kind, text);
}

void Transcript::writeGameText(const std::string& kind, const std::string& cp932)
{
    write(kind, cp932ToUtf8(cp932));
}

} // namespace vorn
