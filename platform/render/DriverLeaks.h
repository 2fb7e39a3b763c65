#pragma once
// Scope around calls into the display and OpenGL drivers: what the drivers allocate inside it
// and never free is not reported by LeakSanitizer. Does nothing in builds without it.

#if defined(__SANITIZE_ADDRESS__)
#define MARIVEL_HAS_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MARIVEL_HAS_LSAN 1
#endif
#endif

#ifdef MARIVEL_HAS_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace render_layer {

class DriverLeakScope {
public:
#ifdef MARIVEL_HAS_LSAN
    DriverLeakScope() { __lsan_disable(); }
    ~DriverLeakScope() { __lsan_enable(); }
#else
    DriverLeakScope() {}
    ~DriverLeakScope() {}
#endif
    DriverLeakScope(const DriverLeakScope&) = delete;
    DriverLeakScope& operator=(const DriverLeakScope&) = delete;
};

}  // namespace render_layer
