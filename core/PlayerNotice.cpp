#include "core/PlayerNotice.h"

#include <deque>

namespace PlayerNotice {

namespace {
std::deque<std::string>& Queue() {
    static std::deque<std::string> queue;
    return queue;
}
}  // namespace

void Post(const std::string& text) { Queue().push_back(text); }

bool Take(std::string* text) {
    if (Queue().empty()) return false;
    if (text != nullptr) *text = Queue().front();
    Queue().pop_front();
    return true;
}

void Clear() { Queue().clear(); }

}  // namespace PlayerNotice
