#pragma once
// What the pieces of tank equipment share in drawing: the flares that show a purchase and an
// upgrade, pictures placed by XML, and effects started at a point.

#include <functional>
#include <memory>
#include <string>

#include "content/EffectObserver.h"
#include "content/MotionFlare.h"
#include "core/FPoint.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "core/Rect.h"

class Texture;
class XmlElement;

namespace comfort {

constexpr float PI = 3.1415925f;
// The sample's own pan.
constexpr int OWN_PAN = -101;

// A one-shot flare of that life, flaring at once; none for a life of 0 or less.
std::shared_ptr<FlarePosition> MakeFlare(float life);
// Counts while it is flaring and has not run out (a timer that ran out exactly at 0 stays there).
bool IsFlaring(const std::shared_ptr<FlarePosition>& flare);
void Advance(const std::shared_ptr<FlarePosition>& flare, float dt);

// The buy and upgrade flares and how they show the usual and the upgraded picture sets.
class AppearanceFlare {
public:
    void StartBuy(float life) { _buy = MakeFlare(life); }
    void StartUpgrade(float life) { _upgrade = MakeFlare(life); }
    void Update(float dt);

    bool IsBuyFlaring() const { return IsFlaring(_buy); }
    bool IsUpgradeFlaring() const { return IsFlaring(_upgrade); }

    // Fades the usual set in while buying, cross-fades to the upgraded set while upgrading, each
    // with an additive glow peaking at the flare's middle; else the set of the state.
    void Draw(bool isUpgraded, const std::function<void()>& usual, const std::function<void()>& upgraded) const;

private:
    std::shared_ptr<FlarePosition> _buy;
    std::shared_ptr<FlarePosition> _upgrade;
};

// The texture's size; empty for none.
Rect Size(const UsingPointer<Texture>& texture);
// The texture of the attribute's id (also "animation_frame:" ids); a missing one is reported.
UsingPointer<Texture> ReadTexture(const ObjectWeakPointer<XmlElement>& xml, const std::string& attribute);
// The int attributes named x and y.
Point ReadPoint(const ObjectWeakPointer<XmlElement>& xml, const std::string& x, const std::string& y);
// Draws the texture, if any, with its lower-left corner at the point.
void DrawAt(const UsingPointer<Texture>& texture, const Point& at);

// Starts the named effect, puts it at the point and restarts it there.
EffectHandle StartEffectAt(EffectOwner& owner, const std::string& name, const FPoint& at);
// Advances a just-started effect by 0.1 s while a counter from 0 stays below 2, so that it is in
// full flow when it first shows.
void PreRun(const EffectHandle& effect);
// Finishes the owner's effects and has them removed at once.
void FinishNow(EffectOwner& owner);

}  // namespace comfort
