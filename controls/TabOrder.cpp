#include "controls/TabOrder.h"

#include <set>

#include "core/Assert.h"
#include "shell/CheckText.h"

bool IsTabOrderValid(const std::list<int>& order, int tabCount) {
    if (static_cast<int>(order.size()) != tabCount) return false;
    std::set<int> used;
    Assert(used.size() == 0);
    used.insert(order.begin(), order.end());
    if (static_cast<int>(used.size()) < tabCount) return false;
    CHECK_TEXT(tabCount > 0, "_tabCount > 0");
    if (tabCount <= 0) return false;
    return *used.begin() == 0 && *used.rbegin() == tabCount - 1;
}

std::list<int> DefaultTabOrder(int tabCount) {
    std::list<int> order;
    for (int i = 0; i < tabCount; ++i) order.push_back(i);
    return order;
}
