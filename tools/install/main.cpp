// Writes the game's menu icon as a PNG picture: vorbel-icon <picture.png> <size in pixels>.
#include <cstdlib>
#include <iostream>
#include <string>

#include "GameIcon.h"

namespace {

const int largestSize = 1024;

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[2]) : 0;
    if (size < 1 || size > largestSize) {
        std::cerr << "usage: vorbel-icon <picture.png> <size, 1 to " << largestSize << " pixels>" << std::endl;
        return 2;
    }
    if (!GameIcon::draw(size).savePng(argv[1])) {
        std::cerr << "vorbel-icon: cannot write " << argv[1] << std::endl;
        return 1;
    }
    return 0;
}
