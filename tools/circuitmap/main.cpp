// Draws circuits side by side as seen from above, into a PNG picture:
//   vorbel-circuit-map <picture.png> <circuit>...
#include <cmath>
#include <iostream>
#include <vector>

#include "Circuit.h"
#include "CircuitMap.h"

namespace {

const int tileSize = 300;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: vorbel-circuit-map <picture.png> <circuit>..." << std::endl;
        return 2;
    }
    std::vector<Circuit> circuits;
    for (int i = 2; i < argc; ++i) {
        const std::optional<int> number = Circuit::parseNumber(argv[i]);
        if (!number) {
            std::cerr << "vorbel-circuit-map: not a circuit number: " << argv[i] << std::endl;
            return 2;
        }
        std::optional<Circuit> circuit = Circuit::make(*number);
        if (!circuit) {
            std::cerr << "vorbel-circuit-map: no draft of circuit " << *number << " passes the checks" << std::endl;
            return 1;
        }
        circuits.push_back(*circuit);
    }
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(circuits.size()))));
    if (!CircuitMap::sheet(circuits, columns, tileSize).savePng(argv[1])) {
        std::cerr << "vorbel-circuit-map: cannot write " << argv[1] << std::endl;
        return 1;
    }
    return 0;
}
