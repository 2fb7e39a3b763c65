#include "core/Rect.h"

#include "core/Assert.h"

Rect::Rect(int x_, int y_, int width_, int height_) : x(x_), y(y_), width(width_), height(height_) {
    Assert(width >= 0);
    Assert(height >= 0);
}

Rect Rect::MovedTo(int newX, int newY) const {
    Rect result = *this;
    result.x = newX;
    result.y = newY;
    return result;
}

bool Rect::Contains(int px, int py) const {
    Assert(this->width >= 0);
    Assert(this->height >= 0);
    // Compared as differences in 64 bits so that corners near the int range do not overflow.
    const long long dx = static_cast<long long>(px) - x;
    const long long dy = static_cast<long long>(py) - y;
    return 0 <= dx && dx < width && 0 <= dy && dy < height;
}

bool Rect::IsEqualToHW(const Rect& other) const {
    return width == other.width && height == other.height;
}
