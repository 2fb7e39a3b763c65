#pragma once
// Texts the player must read in the game (a save that failed, a profile part set aside): posted by
// any layer, shown by the application one after another over the picture.

#include <string>

namespace PlayerNotice {

void Post(const std::string& text);
// The oldest notice not yet taken, removed; false when there is none.
bool Take(std::string* text);
void Clear();

}  // namespace PlayerNotice
