#pragma once
// The game's logo: letters in bubbles that rise into place one after another, growing and fading
// in, then keep wobbling; built with the logo sound and the music turned down for a while.

#include <vector>

#include "content/MotionFlare.h"
#include "content/MotionTextures.h"
#include "content/RandomCircleMotion.h"
#include "controls/Control.h"
#include "core/Point.h"
#include "shell/Texture.h"

class GameLogoControl : public MouseTransparentControl {
public:
    // One letter of the logo: a base picture ("bottom", else "up") drawn as a swaying mesh, the
    // letter rocking on it.
    struct Bubble {
        Bubble(int x, int y, const UsingPointer<Texture>& bottom, float radius, int letterX, int letterY,
               const UsingPointer<Texture>& letter, const UsingPointer<Texture>& up);
        // t: 0 (invisible, half size, low) to 1 (in place); clamped.
        void Draw(float t);
        void Update(float dt);

        Point _center;
        int _halfWidth = 0;
        int _halfHeight = 0;
        UsingPointer<Texture> _bottom;
        UsingPointer<Texture> _letter;
        Point _letterPos;
        UsingPointer<Texture> _up;
        ObjectSmartPointer<TextureMesh> _mesh;
        RandomCircleMotion _vertexSways[2][2];
        RandomCircleMotion _sway;
    };

    // "options" ("delta", "showTime"); from the first "bubble" on, every element is a bubble
    // ("bottom", "up", "letter", "letterX", "letterY", "radius", "x", "y").
    GameLogoControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~GameLogoControl() override;

    void Draw() override;
    void Update(float dt) override;

    // The bubble's stage at appearance progress p.
    float BubbleTime(int bubble, float p) const;
    int GetShowState() const { return _showState; }
    const std::vector<Bubble>& GetBubbles() const { return _logoBubbles; }

private:
    ObjectSmartPointer<FlarePosition> _showTimer;
    int _showState = 0;
    std::vector<Bubble> _logoBubbles;
    float _delta = 0.0f;
};
