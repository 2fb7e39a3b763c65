#pragma once
// A water plant on the tank floor: layers that sway like weed, rock about a pivot, flash or stand
// still; the player drags it about the floor, sells it, mirrors it, and the tank saves it.

#include <memory>
#include <string>
#include <vector>

#include "aquarium/BottomControl.h"
#include "content/MotionFlare.h"
#include "content/MotionTextures.h"
#include "content/RandomCircleMotion.h"

class Texture;

struct WaterPlantLayer {
    enum Kind { MESH, ROTATION, FLARE, STATIC };

    Kind GetKind() const;

    // One mesh, or the swaying grid (0) and the rigid bottom strip (1) of a "mesh" layer.
    std::vector<std::shared_ptr<TextureMesh>> meshes;
    // Per grid column, per row; one motion for a "rotation" layer.
    std::vector<std::vector<RandomCircleMotion>> motions;
    int x = 0;
    int y = 0;
    int bottomStaticLine = 0;
    float maxShift = 0.0f;
    std::string textureId;
    int pivotX = 0;
    int pivotY = 0;
    bool cyclic = false;
    // Degrees, kept in [0, 360) for a cyclic layer.
    float angle = 0.0f;
    std::shared_ptr<FlarePosition> flare;
};

class ExtendedWaterPlantControl : public BottomControl {
public:
    ExtendedWaterPlantControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ExtendedWaterPlantControl() override;

    // The values of a stored plant that its constructor cannot refuse: empty when they lie where a
    // saved plant keeps them, else what is wrong.
    static std::string CheckRecord(const ObjectWeakPointer<XmlElement>& record, bool isStored);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    // Empty while the plant is fixed or is a new one not yet placed.
    ObjectSmartPointer<XmlElement> SaveToXml() override;
    std::string GetKindName() override;
    float GetX() override;
    float GetY() override;
    float GetWidth() override;
    float GetHeight() override;
    // Not divided by the depth scale.
    bool IsUnderMouse() override;
    // "mirror": flips a mirrorable plant, else plays "not_allow".
    void OnText(const std::string& text) override;
    bool IsPointInside(int dx, int dy) override;

    const std::vector<WaterPlantLayer>& GetLayers() const { return _layers; }
    bool IsFixed() const { return _isFixed; }
    bool IsMirrored() const { return _mirror; }

private:
    void ReadLayer(const ObjectWeakPointer<XmlElement>& layerXml);
    float Extent(bool isWidth) const;

    std::vector<WaterPlantLayer> _layers;
    int _disallowedCenterX = 0;
    int _disallowedCenterY = 0;
    bool _isFixed = false;
    bool _canBeMirrored = false;
    bool _mirror = false;
    UsingPointer<Texture> _placementDisallowedTexture;
};
