#pragma once
// A check whose report carries a fixed text for the checked expression.

#include "core/Assert.h"

#define CHECK_TEXT(cond, text)                                                        \
    do {                                                                              \
        if (!(cond)) ::ReportFailure("Assertion failed", (text), __FILE__, __LINE__); \
    } while (false)
