#include "widgets/InPlacePath.h"

#include <algorithm>

#include "core/Assert.h"
#include "core/XmlElement.h"

InPlacePath::InPlacePath(const ObjectWeakPointer<XmlElement>& xe) {
    if (xe == NULL) return;
    for (ObjectWeakPointer<XmlElement> key = xe->GetFirstChildElement(); key != NULL; key = key->GetNextElement()) {
        _path.addKey(FPoint(key->GetIntAttribute("x"), key->GetIntAttribute("y")));
    }
    const FPoint p = _path.keys.empty() ? FPoint(1.0f, 1.0f) : _path.keys.back().value;
    Assert(_path.keys.size() >= 2 && p == FPoint(0, 0));
    _path.CalculateGradient(false);
}

FPoint InPlacePath::GetPosition(float p) const {
    if (_path.keys.empty()) return FPoint(0.0f, 0.0f);
    return _path.getGlobalFrame(std::min(1.0f, std::max(0.0f, p)));
}
