// vorn-gamegen FOLDER: writes the starter game into FOLDER.
#include "gamegen/starter_game.h"

#include "data/errors.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: vorn-gamegen FOLDER\n";
        return 3;
    }
    try {
        vorn::gamegen::writeStarterGame(argv[1]);
    } catch (const vorn::FileError& e) {
        std::cerr << "vorn-gamegen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
