#include <gtest/gtest.h>

#include "Circuit.h"
#include "frontend/CircuitPreview.h"

namespace {

// The first picture that comes, after the work asked for is done.
std::optional<CircuitPreview::Picture> next(CircuitPreview& preview) {
    for (int wait = 0; wait < 100; ++wait) {
        preview.finish();
        if (std::optional<CircuitPreview::Picture> picture = preview.take()) return picture;
    }
    return std::nullopt;
}

TEST(CircuitPreview, OnlyTheLastNumberAskedForShowsWithItsOwnFigures) {
    CircuitPreview preview(64);
    for (int number : {1, 2, 3, 4}) preview.request(number);
    const std::optional<CircuitPreview::Picture> picture = next(preview);
    const std::optional<Circuit> circuit = Circuit::make(4);
    ASSERT_TRUE(picture && picture->map && circuit);
    EXPECT_EQ(picture->number, 4);
    EXPECT_EQ(picture->map->getWidth(), 64);
    EXPECT_EQ(picture->length, circuit->layout.length());
    EXPECT_EQ(picture->curves, circuit->layout.curveCount());
    EXPECT_EQ(picture->heightRange, circuit->layout.heightRange());
}

}  // namespace
