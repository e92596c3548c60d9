#include "frontend/CircuitPreview.h"

#include <chrono>

#include "Circuit.h"
#include "CircuitMap.h"

CircuitPreview::Picture CircuitPreview::make(int number, int mapSize) {
    Picture picture;
    picture.number = number;
    const std::optional<Circuit> circuit = Circuit::make(number);
    if (!circuit) return picture;
    picture.map = CircuitMap::sheet({*circuit}, 1, mapSize);
    picture.length = circuit->layout.length();
    picture.curves = circuit->layout.curveCount();
    picture.heightRange = circuit->layout.heightRange();
    return picture;
}

void CircuitPreview::request(int number) {
    if (number == latest) return;
    latest = number;
    if (running.valid()) {
        waiting = number;
    } else {
        start(number);
    }
}

std::optional<CircuitPreview::Picture> CircuitPreview::take() {
    if (!running.valid() && waiting) start(*waiting);
    if (!running.valid() || running.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return std::nullopt;
    Picture picture = running.get();
    if (waiting && *waiting == picture.number) waiting.reset();
    if (waiting) start(*waiting);
    if (picture.number != latest) return std::nullopt;
    return picture;
}

void CircuitPreview::finish() {
    if (running.valid()) running.wait();
}

void CircuitPreview::start(int number) {
    waiting.reset();
    running = std::async(std::launch::async, make, number, mapSize);
}
