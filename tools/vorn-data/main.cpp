// vorn-data: the game authors' tool (build, dump, check).
#include "commands.h"
#include "help.h"

#include <cstring>
#include <iostream>
#include <string>

namespace {

bool wantsHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace vorn::datatool;
    std::string command = argc > 1 ? argv[1] : "";
    const char* help = command == "build" ? buildHelp
        : command == "dump"               ? dumpHelp
        : command == "check"              ? checkHelp
                                          : generalHelp;
    if (wantsHelp(argc, argv)) {
        std::cout << help;
        return 0;
    }
    if (command == "build" && argc == 4)
        return buildCommand(argv[2], argv[3], std::cout);
    if (command == "dump" && argc == 4)
        return dumpCommand(argv[2], argv[3], std::cout);
    if (command == "check" && argc == 3)
        return checkCommand(argv[2], std::cout);
    std::cerr << help;
    return 3;
}
