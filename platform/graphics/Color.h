#pragma once

#include <array>

namespace platform {

// A colour in calibrated RGB with alpha, each component in [0, 1]. It stands for both the AppKit
// and the Core Graphics colour, so no conversion between the two is needed.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static constexpr Color calibratedRGB(double r, double g, double b, double a = 1.0) {
        return Color{r, g, b, a};
    }
    static constexpr Color blackColor() { return {0, 0, 0, 1}; }
    static constexpr Color whiteColor() { return {1, 1, 1, 1}; }
    static constexpr Color blueColor() { return {0, 0, 1, 1}; }
    static constexpr Color clearColor() { return {0, 0, 0, 0}; }

    // The components in colour-space order: red, green, blue, alpha.
    constexpr std::array<double, 4> components() const { return {red, green, blue, alpha}; }

    constexpr bool operator==(const Color&) const = default;
};

}  // namespace platform
