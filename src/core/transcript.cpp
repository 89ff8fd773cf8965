#include "core/transcript.h"

#include "platform/encoding.h"

namespace vorn {

bool Transcript::open(const std::string& path)
{
    file_.open(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file_);
}

void Transcript::write(const std::string& kind, const std::string& utf8)
{
    std::string text = utf8;
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    }
    if (file_.is_open()) {
        std::uint64_t now = clock_ ? clock_() : 0;
        file_ << now << '\t' << kind << '\t' << text << '\n';
        file_.flush();
    }
    if (observer_)
        observer_(kind, text);
}

void Transcript::writeGameText(const std::string& kind, const std::string& cp932)
{
    write(kind, cp932ToUtf8(cp932));
}

} // namespace vorn
