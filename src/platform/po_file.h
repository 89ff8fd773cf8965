// Translation catalogues in the gettext PO format, as translators' editors and translation
// platforms read and write them: entries of a context (msgctxt), an original text (msgid) and its
// translation (msgstr), with comments before them. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct PoEntry {
    std::string context; // msgctxt; empty when the entry has none
    std::string id; // msgid; empty for the header entry
    std::string translation; // msgstr (msgstr[0] of an entry with plural forms)
    bool fuzzy = false; // marked "#, fuzzy": a translation still to be checked
    std::vector<std::string> comments; // "#." lines, without the mark
    std::vector<std::string> references; // "#:" lines, without the mark
};

// A PO text that does not follow the format; what() says the line and what is wrong.
class PoError : public std::runtime_error {
public:
    PoError(std::size_t line, const std::string& what);
    std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

// The entries of a PO text, the header entry (empty msgid) included, in file order. Obsolete
// entries ("#~") are left out. Throws PoError for a malformed text: an unknown keyword, a string
// without its closing quote or with an unknown escape, a msgstr without its msgid, an entry
// without msgstr, one context and original given twice, a header naming a charset other than
// UTF-8, or bytes that are not UTF-8.
std::vector<PoEntry> readPoText(std::string_view text);

// The PO text of the entries; texts are written as quoted strings with C escapes, split after
// each line end they hold.
std::string writePoText(const std::vector<PoEntry>& entries);

} // namespace vorn
