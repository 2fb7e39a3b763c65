#include "core/ObjectSmartPointer.h"

#include <string>

namespace PointerDetail {

void RefuseAccess(const char* what) {
    throw AssertionFailedException(std::string("Refused access through a pointer: ") + what);
}

}  // namespace PointerDetail
