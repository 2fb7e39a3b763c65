#include "widgets/InPlacePath.h"

#include <algorithm>

#include "core/ContentValues.h"
#include "core/Assert.h"
#include "core/XmlElement.h"

InPlacePath::InPlacePath(const ObjectWeakPointer<XmlElement>& xe) {
    if (xe == NULL) return;
    for (ObjectWeakPointer<XmlElement> key = xe->GetFirstChildElement(); key != NULL; key = key->GetNextElement()) {
        const int x = CHECKED_INT(key->GetIntAttribute("x"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE, "-100000 <= x && x <= 100000");
        const int y = CHECKED_INT(key->GetIntAttribute("y"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE, "-100000 <= y && y <= 100000");
        _path.addKey(FPoint(x, y));
    }
    const FPoint p = _path.keys.empty() ? FPoint(1.0f, 1.0f) : _path.keys.back().value;
    Assert(_path.keys.size() >= 2 && p == FPoint(0, 0));
    _path.CalculateGradient(false);
}

FPoint InPlacePath::GetPosition(float p) const {
    if (_path.keys.empty()) return FPoint(0.0f, 0.0f);
    return _path.getGlobalFrame(std::min(1.0f, std::max(0.0f, p)));
}
