// vorn-assetgen FOLDER: writes the demo game's generated art, sound and music into FOLDER.
// vorn-assetgen --shots FOLDER: writes the documentation pictures (PNG).
// vorn-assetgen --tables: prints the tile and character code tables (Markdown).
#include "assetgen/assetgen.h"

#include "data/errors.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    try {
        if (argc == 2 && std::string(argv[1]) == "--tables") {
            std::cout << vorn::assetgen::tileTable() << "\n"
                      << vorn::assetgen::characterTable();
            return 0;
        }
        if (argc == 3 && std::string(argv[1]) == "--shots") {
            vorn::assetgen::writeShots(argv[2]);
            return 0;
        }
        if (argc != 2 || argv[1][0] == '-') {
            std::cerr << "usage: vorn-assetgen FOLDER | --shots FOLDER | --tables\n";
            return 3;
        }
        vorn::assetgen::writeAssets(argv[1]);
    } catch (const vorn::FileError& e) {
        std::cerr << "vorn-assetgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
