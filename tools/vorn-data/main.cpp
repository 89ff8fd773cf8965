// vorn-data: the game authors' tool (new, build, dump, check, render, inventory, text, web, help).
#include "commands.h"
#include "help.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool isHelpOption(const char* arg) { return !std::strcmp(arg, "--help") || !std::strcmp(arg, "-h"); }

bool wantsHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (isHelpOption(argv[i]))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace vorn::datatool;
    std::string command = argc > 1 ? argv[1] : "";
    const std::vector<std::string> commands { "new", "build", "dump", "check", "render", "inventory", "text", "web", "help" };
    const char* help = command == "build" ? buildHelp
        : command == "dump"               ? dumpHelp
        : command == "check"              ? checkHelp
        : command == "render"             ? renderHelp
        : command == "new"                ? newHelp
        : command == "inventory"          ? inventoryHelp
        : command == "help"               ? helpHelp
        : command == "web"                ? webHelp
        : command == "text"               ? textHelp
                                          : generalHelp;
    if (command == "help") {
        if (argc == 2 || (argc == 3 && isHelpOption(argv[2]))) {
            std::cout << (argc == 2 ? generalHelp : helpHelp);
            return 0;
        }
        if (argc == 3)
            return helpCommand(argv[2], std::cout, std::cerr);
        std::cerr << helpHelp;
        return 3;
    }
    if (wantsHelp(argc, argv)) {
        std::cout << help;
        return 0;
    }
    if (!command.empty() && std::find(commands.begin(), commands.end(), command) == commands.end()) {
        std::cerr << "vorn-data: unknown command \"" << command << "\"" << didYouMean(command, commands)
                  << "\nthe commands are new, build, dump, check, render, inventory, text, web and help (vorn-data --help)\n";
        return 3;
    }
    if (command == "build" && argc == 4)
        return buildCommand(argv[2], argv[3], std::cout);
    if (command == "dump" && (argc == 4 || (argc == 5 && !std::strcmp(argv[4], "--force"))))
        return dumpCommand(argv[2], argv[3], std::cout, argc == 5);
    if (command == "check" && argc == 3)
        return checkCommand(argv[2], std::cout);
    if (command == "inventory" && argc == 3)
        return inventoryCommand(argv[2], std::cout);
    if (command == "text" && argc == 5 && !std::strcmp(argv[2], "export"))
        return textExportCommand(argv[3], argv[4], std::cout);
    if (command == "new" && argc == 3)
        return newCommand(argv[2], std::cout);
    if (command == "web" && (argc == 4 || argc == 5))
        return webCommand(argv[2], argv[3], argc == 5 ? argv[4] : VORN_WEB_PLAYER_DIR, std::cout);
    if (command == "render" && (argc == 5 || argc == 6)) {
        RenderOptions options;
        if (argc == 6) {
            if (std::strcmp(argv[5], "--grid") != 0) {
                std::cerr << help;
                return 3;
            }
            options.grid = true;
        }
        if (!std::strcmp(argv[3], "--all"))
            return renderAllCommand(argv[2], argv[4], options, std::cout);
        int map = -1;
        auto [end, error] = std::from_chars(argv[3], argv[3] + std::strlen(argv[3]), map);
        if (error == std::errc() && *end == '\0' && map >= 0 && map <= 999)
            return renderCommand(argv[2], map, argv[4], options, std::cout);
    }
    std::cerr << help;
    return 3;
}
