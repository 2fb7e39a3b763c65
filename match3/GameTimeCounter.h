#pragma once
// The level timer beside the game field, drawn as layers of pictures in order: a progress layer
// is the draining bar, cut by a clip rectangle with bubbles rising in it; a marker layer moves
// its picture along a line of points as the time goes, coloured between them, and shrinks away
// at the last point; plain layers stay as they are. While the field makes the timer shine, a
// glow pulses over the marker with a tick each pulse. It does not count time itself.

#include <string>
#include <vector>

#include "content/EffectObserver.h"
#include "content/MotionTextures.h"
#include "controls/Control.h"
#include "core/Color.h"
#include "shell/Texture.h"

class GameTimeCounter : public MouseTransparentControl {
public:
    struct MarkerPoint {
        Point position;
        Color color;
    };

    struct Layer {
        UsingPointer<Texture> picture;
        Point position;
        // Drawn count times, moving by the step after each drawing.
        int count = 1;
        int stepX = 0;
        int stepY = 0;
        bool progress = false;
        // Two or more make a marker layer.
        std::vector<MarkerPoint> points;
        bool canShine = false;
    };

    // Where the marker stands at a progress above the hide threshold, and its colour.
    struct MarkerPlace {
        Point position;
        Color color;
    };

    // Attributes "hideProcess" and "minScale"; one child "layer" per layer with "textureId",
    // "count" ("stepX", "stepY" when above 1), "progress", "canShine", and either child "point"
    // elements ("x", "y", "color") or "x" and "y". A marker layer of one point is reported and
    // becomes a plain layer at that point.
    GameTimeCounter(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    // p must lie in [0, 1]; it is stored either way.
    void SetProgress(float p);
    float GetProgress() const { return _progress; }

    void Update(float dt) override;
    void Draw() override;

    const std::vector<Layer>& GetLayers() const { return _layers; }
    // Units of a bar picture height units high left visible at a progress: 7 at the hide
    // threshold and below it, the whole picture at 1.
    static int BarHeight(int height, float progress, float hide);
    // points needs two or more entries; a progress outside [hide, 1] extrapolates from the first
    // or last stretch.
    static MarkerPlace MarkerAt(const std::vector<MarkerPoint>& points, float progress, float hide);

    bool shining = false;
    float shineTime = 0.75f;
    float shinePeriod = 1.0f;

private:
    void ReadLayer(const ObjectWeakPointer<XmlElement>& xml);
    void DrawBar(const Layer& layer, const Point& at);
    void DrawMarker(const Layer& layer);
    void DrawShine();

    std::vector<Layer> _layers;
    float _hideProcess = 0.0f;
    float _progress = 0.0f;
    float _minScale = 0.0f;
    EffectOwner _owner;
    ObjectSmartPointer<TextureMesh> _shineMesh;
};
