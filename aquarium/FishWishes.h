#pragma once
// A fish's thought bubble: three clouds of growing size in the colour of the wished item's kind
// and the item's icon in the largest; they pop up one after the other, sway, stay a while and pop
// away in the same order.

#include <string>
#include <vector>

#include "content/MotionFlare.h"
#include "content/RandomCircleMotion.h"
#include "content/Spline.h"
#include "core/FPoint.h"
#include "shell/Texture.h"
#include "core/ObjectSmartPointer.h"

class FishWishes : public Interface {
public:
    struct Cloud {
        Cloud(const UsingPointer<Texture>& texture, const FPoint& left, const FPoint& right, float delay);

        // Starts vanishing after the delay.
        void Vanish(float delay);
        // v: 0 facing left, 1 facing right.
        void Draw(float v);

        float flareLife = 0.3f;
        FPoint offsetLeft;
        FPoint offsetRight;
        UsingPointer<Texture> texture;
        ObjectSmartPointer<FlarePosition> timer;
        SplinePath<float> scale;
        bool isVanishing = false;
        RandomCircleMotion sway;
    };

    static constexpr float TUTORIAL_TIME = 10.0f;
    static constexpr float TIME = 4.0f;

    // kind: "Comfort", "Fish" or "WaterPlant"; time: how long the bubble stays.
    FishWishes(const UsingPointer<Texture>& icon, const std::string& kind, float time);

    void Update(float dt);
    // scale: the fish's depth scale; fromLeft: the side value, 0 to 1.
    void Draw(float scale, float fromLeft);
    bool HasClouds() const { return !_clouds.empty(); }

    void SetAnchor(const FPoint& anchor) { _anchor = anchor; }
    const std::vector<Cloud>& GetClouds() const { return _clouds; }
    float GetTimeLeft() const { return _timeLeft; }
    bool IsVanishing() const { return _isVanishing; }

private:
    std::vector<Cloud> _clouds;
    float _timeLeft = 0.0f;
    bool _isVanishing = false;
    FPoint _anchor;
};
