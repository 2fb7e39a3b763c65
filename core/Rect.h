#pragma once
// Integer rectangle; (x, y) is the corner with the smallest coordinates.

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    Rect() = default;
    Rect(int x_, int y_, int width_, int height_);

    Rect MovedTo(int newX, int newY) const;
    // Half-open on both axes: x <= px < x + width, y <= py < y + height.
    bool Contains(int px, int py) const;
    bool IsEqualToHW(const Rect& other) const;
};
