#pragma once
// A check whose report names the expression as the original source wrote it.

#include "core/Assert.h"

#define CHECK_TEXT(cond, text)                                                        \
    do {                                                                              \
        if (!(cond)) ::ReportFailure("Assertion failed", (text), __FILE__, __LINE__); \
    } while (false)
