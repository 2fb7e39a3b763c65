#pragma once
// The order of a stack of tabs: tab indices from the front to the back.

#include <list>

// True when the order is a permutation of 0 .. tabCount - 1.
bool IsTabOrderValid(const std::list<int>& order, int tabCount);
// 0, 1, ..., tabCount - 1: tab 0 in front.
std::list<int> DefaultTabOrder(int tabCount);
