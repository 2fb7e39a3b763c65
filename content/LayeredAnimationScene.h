#pragma once
// The scene of a layered animation: named layers of pictures and particle effects that a script
// moves by writing their properties.

#include <functional>
#include <string>
#include <vector>

#include "content/ParticleEffect.h"
#include "core/Color.h"
#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"

class RectangleTexture;

class LayerObject : public virtual Interface {
public:
    virtual void Draw() {}
    virtual void Update(float) {}
    virtual void Do(const std::string&) {}

    std::string _name;
    float _x = 0.0f;
    float _y = 0.0f;
    float _scale = 1.0f;
    // Degrees.
    float _angle = 0.0f;
    // Offset of the rotation centre from the object's centre, in unscaled picture units.
    float _rotX = 0.0f;
    float _rotY = 0.0f;
    bool _isVisible = true;
    Color _color = Color(255, 255, 255, 255);
};

// A picture, centred on (x, y), its lower-left corner at the layer's origin at creation.
class LoTexture : public LayerObject {
public:
    // owned: the object gives the device texture back and deletes the texture when it goes.
    LoTexture(RectangleTexture* texture, bool owned);
    ~LoTexture() override;

    void Draw() override;
    // "WrapH" and "WrapV" mirror the picture for good.
    void Do(const std::string& command) override;

    RectangleTexture* GetTexture() const { return _texture; }
    bool IsWrappedH() const { return _wrapH; }
    bool IsWrappedV() const { return _wrapV; }

private:
    RectangleTexture* _texture = nullptr;
    bool _owned = false;
    bool _wrapH = false;
    bool _wrapV = false;
};

// A particle effect run by the object itself.
class LoEffect : public LayerObject {
public:
    // A reset copy of the library's effect of that name.
    explicit LoEffect(const std::string& effectName);

    void Draw() override;
    // Advances the effect while the object is visible.
    void Update(float dt) override;
    // "Reset" restarts the effect at the object's position.
    void Do(const std::string& command) override;

    const ParticleEffect& GetEffect() const { return _effect; }

private:
    ParticleEffect _effect;
};

class AnimLayer : public virtual Interface {
public:
    // The first object of that name; null when there is none.
    LayerObject* getObject(const std::string& name);

    std::string _name;
    bool _isVisible = true;
    float _x = 0.0f;
    float _y = 0.0f;
    float _scale = 1.0f;
    std::vector<ObjectSmartPointer<LayerObject>> _objects;
};

class LayerSet : public virtual Interface {
public:
    // The picture of a "Texture" element's "texture" name, and whether the caller owns it.
    struct TextureFound {
        RectangleTexture* texture = nullptr;
        bool owned = false;
    };
    using TextureSource = std::function<TextureFound(const std::string& name)>;

    // From a "LayerSet" element: its "Layer" children with "Texture" and "Effect" objects.
    LayerSet(const ObjectWeakPointer<XmlElement>& xml, const TextureSource& textures);

    // The first layer of that name; null when there is none.
    AnimLayer* getLayer(const std::string& name);

    // Every object of every layer, visible or not, in order.
    void UpdateObjects(float dt);
    // The visible objects of the visible layers, each in its layer's offset and scale.
    void Draw();

    std::string _name;
    std::vector<ObjectSmartPointer<AnimLayer>> _layers;
};
