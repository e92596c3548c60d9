// Generates the game's media folder for one circuit: vorbel-mediagen <media folder> [circuit].
#include <iostream>
#include <string>

#include "Circuit.h"
#include "MediaGenerator.h"

int main(int argc, char** argv) {
    const std::optional<int> circuit = argc == 3 ? Circuit::parseNumber(argv[2]) : std::optional<int>(0);
    if (argc < 2 || argc > 3 || !circuit) {
        std::cerr << "usage: vorbel-mediagen <media folder> [circuit 0 to " << Circuit::largestNumber << "]"
                  << std::endl;
        return 2;
    }
    MediaGenerator generator(argv[1], *circuit);
    if (!generator.run()) return 1;
    std::cout << generator.summary() << std::endl;
    return 0;
}
