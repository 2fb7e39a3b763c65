#pragma once
// Small drawing helpers of the scenery controls: a frame of an animation at a point, the
// opening frame of a timed scene, and the frames and positions read from XML.

#include <string>

#include "content/Animation.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"

class XmlElement;

namespace scenery {

constexpr float PI = 3.1415925f;

// Frame k (clamped into the animation) drawn with its lower-left corner at the point.
void DrawFrame(const UsingPointer<Animation>& animation, int k, const Point& at);
int FrameCount(const UsingPointer<Animation>& animation);
// The animation of the attribute, held in use; a missing one is reported by the lookup.
UsingPointer<Animation> UseAnimation(const ObjectWeakPointer<XmlElement>& xml, const std::string& attribute);
// The named child; a missing one is reported and stands as an empty element, so its attribute
// reads report too and give their defaults.
ObjectWeakPointer<XmlElement> Child(const ObjectWeakPointer<XmlElement>& xml, const std::string& name);
// The int attributes "x" and "y" of the named child.
Point ReadPoint(const ObjectWeakPointer<XmlElement>& xml, const std::string& child);
// Sets blend factors back to source alpha / inverse source alpha.
void NormalBlend();

}  // namespace scenery
