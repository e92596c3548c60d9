// Generates the game's default media folder: vorbel-mediagen <media folder>.
#include <iostream>

#include "MediaGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vorbel-mediagen <media folder>" << std::endl;
        return 2;
    }
    return MediaGenerator(argv[1]).run() ? 0 : 1;
}
