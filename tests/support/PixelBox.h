#pragma once

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

#include "platform/graphics/Image.h"

// The smallest box holding the pixels added to it, in an image's pixel columns and rows (rows
// counted from the bottom, as the image counts them); both ends included. Empty until a pixel
// is added.
struct PixelBox {
    int minX = std::numeric_limits<int>::max(), maxX = -1;
    int minY = std::numeric_limits<int>::max(), maxY = -1;
    int count = 0;  // pixels added

    void add(int x, int y) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        ++count;
    }
    bool empty() const { return count == 0; }
    bool holds(int x, int y) const { return x >= minX && x <= maxX && y >= minY && y <= maxY; }

    // A box made of whole pixels, ends included.
    static PixelBox spanning(int minX, int maxX, int minY, int maxY) {
        PixelBox box;
        box.minX = minX, box.maxX = maxX, box.minY = minY, box.maxY = maxY;
        return box;
    }
    static PixelBox wholeImage(const platform::Image& image) {
        return spanning(0, image.width() - 1, 0, image.height() - 1);
    }
};

// Which colours a test counts (ink, a window's background, a selection...).
using PixelTest = std::function<bool(const platform::Color&)>;

// The box of the pixels inside `area` that pass the test.
inline PixelBox pixelsWhere(const platform::Image& image, const PixelTest& test,
                            const PixelBox& area) {
    PixelBox box;
    for (int x = area.minX; x <= area.maxX; ++x)
        for (int y = area.minY; y <= area.maxY; ++y)
            if (test(image.pixel(x, y))) box.add(x, y);
    return box;
}

// Runs of inked pixel columns inside `area`, separated by columns without ink, left to right;
// each run's box. Vertical text draws one such run a line.
inline std::vector<PixelBox> inkColumns(const platform::Image& image, const PixelTest& isInk,
                                        const PixelBox& area) {
    std::vector<PixelBox> columns;
    bool inRun = false;
    for (int x = area.minX; x <= area.maxX; ++x) {
        bool inked = false;
        for (int y = area.minY; y <= area.maxY; ++y) {
            if (!isInk(image.pixel(x, y))) continue;
            if (!inRun) columns.emplace_back();
            inRun = inked = true;
            columns.back().add(x, y);
        }
        inRun = inked;
    }
    return columns;
}
