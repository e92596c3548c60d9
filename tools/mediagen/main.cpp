// Generates the game's media folder for one circuit:
//   vorbel-mediagen <media folder> [circuit]        writes the media into the folder
//   vorbel-mediagen --ensure <media folder> <circuit>  makes the folder hold the circuit, generating it
//                                                   only when needed, safely beside other starts
//   vorbel-mediagen --cache-folder <circuit>        prints the circuit's folder in the user's cache
//   vorbel-mediagen --version                       prints this build's identity
#include <iostream>
#include <string>

#include "Circuit.h"
#include "CircuitCache.h"
#include "MediaGenerator.h"

namespace {

int usage() {
    std::cerr << "usage: vorbel-mediagen <media folder> [circuit]\n"
                 "       vorbel-mediagen --ensure <media folder> <circuit>\n"
                 "       vorbel-mediagen --cache-folder <circuit>\n"
                 "       vorbel-mediagen --version\n"
                 "with a circuit from 0 to "
              << Circuit::largestNumber << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--version" && argc == 2) {
        std::cout << "vorbel-mediagen build " << MediaGenerator::buildIdentity() << std::endl;
        return 0;
    }
    if (mode == "--cache-folder" && argc == 3) {
        const std::optional<int> circuit = Circuit::parseNumber(argv[2]);
        if (!circuit) return usage();
        std::cout << CircuitCache::folderFor(CircuitCache::defaultRoot(), *circuit) << std::endl;
        return 0;
    }
    if (mode == "--ensure" && argc == 4) {
        const std::optional<int> circuit = Circuit::parseNumber(argv[3]);
        if (!circuit) return usage();
        return CircuitCache::ensure(argv[2], *circuit) ? 0 : 1;
    }
    const std::optional<int> circuit = argc == 3 ? Circuit::parseNumber(argv[2]) : std::optional<int>(0);
    if (argc < 2 || argc > 3 || !circuit || mode.compare(0, 2, "--") == 0) return usage();
    MediaGenerator generator(argv[1], *circuit);
    if (!generator.run()) return 1;
    std::cout << generator.summary() << std::endl;
    return 0;
}
