#include "core/Bool.h"

#include "core/Assert.h"

std::string Bool::ToString(bool value) { return value ? "true" : "false"; }

bool Bool::Parse(const std::string& image) {
    if (image == "true") return true;
    if (image == "false") return false;
    Assert(false);
    return false;
}

bool Bool::ParseZeroOne(const std::string& image) {
    if (image == "1") return true;
    if (image == "0") return false;
    Assert(false);
    return false;
}
