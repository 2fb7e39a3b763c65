#pragma once
// The control "LayeredAnimation": reads the scene of "mults.xml", publishes it to the script,
// runs "mult.lua" and hands a player to the controller manager that moves the scene every frame
// through the script's "AnimationDo". The control owns its scene: when it goes, the player is
// marked finished and the scene with the pictures it loaded from files is freed.

#include <string>

#include "content/Controller.h"
#include "content/LayeredAnimationScene.h"
#include "controls/Control.h"

class LayeredAnimationPlayer : public IController {
public:
    // Calls the script's "AnimationReset". table: the scene's published script table (or 0).
    LayeredAnimationPlayer(LayerSet* layerSet, int table);
    ~LayeredAnimationPlayer() override;

    // Updates every object, then calls "AnimationDo" with dt.
    void Update(float dt) override;
    // True once the control has let its scene go.
    bool IsFinished() override { return _layerSet == nullptr; }

    // Called by the control before its scene is freed: the player touches the scene no more
    // and the script's table of it is cleared.
    void Stop();

private:
    LayerSet* _layerSet = nullptr;
    std::string _setName;
    int _table = 0;
};

class LayeredAnimation : public MouseTransparentControl {
public:
    static constexpr int CLIP_WIDTH = 300;
    static constexpr int CLIP_HEIGHT = 250;

    LayeredAnimation(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~LayeredAnimation() override;

    // The scene in a 300 x 250 box at the control's position.
    void Draw() override;
    // The player does the work.
    void Update(float) override {}

    ObjectWeakPointer<LayerSet> GetLayerSet() const { return _layerSet; }
    // Empty once the control has gone.
    LayeredAnimationPlayer* GetPlayer() const { return _player; }

    // The textures of a scene: "#" + id a registered 2D texture, any other name a file loaded
    // for the scene alone.
    static LayerSet::TextureFound FindTexture(const std::string& name);

private:
    ObjectSmartPointer<LayerSet> _layerSet;
    // Owned by the controller manager; valid while the scene lives.
    LayeredAnimationPlayer* _player = nullptr;
};
