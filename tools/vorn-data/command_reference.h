// The reference of every script command for authors: what it does, its arguments in the order
// the interpreter reads them, what each means, and an example. One row per keyword of the
// interpreter's command table; `vorn-data help KEYWORD` and docs/script-commands.md are made
// from these rows.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vorn::datatool {

struct CommandReference {
    std::string_view keyword;
    std::string_view group; // the section of docs/script-commands.md
    std::string_view summary; // one line
    std::string_view arguments; // the argument names in reading order, separated by ", "; empty for none
    std::string_view details; // what each argument means and what the command does
    std::string_view example; // a command string (or a line) that uses it
};

extern const std::span<const CommandReference> commandReferences;

// The row of a keyword (any letter case), or nullptr.
const CommandReference* findCommandReference(std::string_view keyword);

// The text `vorn-data help KEYWORD` prints.
std::string commandHelpText(const CommandReference&);
// The one-line list `vorn-data help commands` prints.
std::string commandListText();
// docs/script-commands.md.
std::string commandReferenceMarkdown();

} // namespace vorn::datatool
