#include "controls/LayeredAnimation.h"

#include "content/ControllerManager.h"
#include "content/LayeredAnimationScript.h"
#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/XmlRead.h"
#include "shell/RenderDevice.h"
#include "shell/ScriptMap.h"

namespace {
const char* const SCENE_FILE = "mults.xml";
const char* const SCRIPT_FILE = "mult.lua";
}  // namespace

LayeredAnimationPlayer::LayeredAnimationPlayer(LayerSet* layerSet, int table)
    : IController("noname"), _layerSet(layerSet), _table(table) {
    if (_layerSet != nullptr) {
        _setName = _layerSet->_name;
    }
    LayeredAnimationScript::Republish(ScriptMap::state, _setName, _table);
    ScriptMap::CallFunction("AnimationReset");
}

LayeredAnimationPlayer::~LayeredAnimationPlayer() { Stop(); }

void LayeredAnimationPlayer::Update(float dt) {
    if (_layerSet == nullptr) {
        return;
    }
    _layerSet->UpdateObjects(dt);
    // Several animations share the script's globals: the script sees this player's scene.
    LayeredAnimationScript::Republish(ScriptMap::state, _setName, _table);
    ScriptMap::CallFunctionWithFloat("AnimationDo", dt);
}

void LayeredAnimationPlayer::Stop() {
    _layerSet = nullptr;
    LayeredAnimationScript::Unpublish(ScriptMap::state, _setName, _table);
    _table = 0;
}

LayeredAnimation::LayeredAnimation(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(SCENE_FILE));
        const ObjectWeakPointer<XmlElement> root = document->GetRoot();
        ObjectWeakPointer<XmlElement> setXml;
        if (root != NULL) {
            setXml = root->GetFirstChildElement("LayerSet");
        }
        _layerSet = ObjectSmartPointer<LayerSet>(new LayerSet(setXml, &LayeredAnimation::FindTexture));
    }
    const int table = LayeredAnimationScript::Publish(ScriptMap::state, *_layerSet);
    ScriptMap::RunScript(SCRIPT_FILE);
    _player = new LayeredAnimationPlayer(_layerSet.Get(), table);
    Core::GetControllerManager().addController(_player);
    ScriptMap::CallFunction("AnimationInit");
}

LayeredAnimation::~LayeredAnimation() {
    if (_player != nullptr) {
        _player->Stop();
        _player = nullptr;
    }
    _layerSet = nullptr;
}

void LayeredAnimation::Draw() {
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(_position.x), static_cast<float>(_position.y), 0.0f);
    device.PushClipRect(Rect(0, 0, CLIP_WIDTH, CLIP_HEIGHT), CLIP_ALL);
    _layerSet->Draw();
    device.PopClipRect();
    device.PopMatrix();
}

LayerSet::TextureFound LayeredAnimation::FindTexture(const std::string& name) {
    LayerSet::TextureFound found;
    found.texture = ResourceManager::GetRectangleTexture(name);
    found.owned = name.empty() || name[0] != '#';
    return found;
}
