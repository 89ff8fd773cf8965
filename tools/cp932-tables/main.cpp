// vorn-cp932-tables OUT.cpp: writes the cp932 tables the web player converts text with, as
// this build's converter (the C library's) converts every byte pair and code point.
#include "measure.h"

#include <fstream>
#include <iostream>
#include <stdexcept>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: vorn-cp932-tables OUT.cpp\n";
        return 2;
    }
    try {
        vorn::MeasuredCp932 measured = vorn::measureCp932();
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        vorn::writeCp932Source(out, measured);
        out.close();
        if (!out)
            throw std::runtime_error(std::string("cannot write ") + argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "vorn-cp932-tables: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
