#include "content/LayeredAnimationScene.h"

#include "content/ParticleLibrary.h"
#include "core/Assert.h"
#include "shell/OldTexture.h"
#include "shell/RenderDevice.h"

LoTexture::LoTexture(RectangleTexture* texture, bool owned) : _texture(texture), _owned(owned) {
    // A name the resource manager does not know is reported there; the object draws nothing.
    if (_texture == nullptr) {
        return;
    }
    _texture->_linearFilter = 1;
    _x = static_cast<float>(_texture->_imageWidth) / 2.0f;
    _y = static_cast<float>(_texture->_imageHeight) / 2.0f;
}

LoTexture::~LoTexture() {
    if (_owned && _texture != nullptr) {
        _texture->Release();
        delete _texture;
    }
    _texture = nullptr;
}

void LoTexture::Draw() {
    if (_texture == nullptr) {
        return;
    }
    _texture->Bind();
    const float s = _scale;
    float tw = static_cast<float>(_texture->_textureWidth) * s;
    float th = static_cast<float>(_texture->_textureHeight) * s;
    float w = (static_cast<float>(_texture->_imageWidth) + 2.0f * _rotX) * s;
    float h = (static_cast<float>(_texture->_imageHeight) + 2.0f * _rotY) * s;
    if (_wrapH) {
        w = -w;
        tw = -tw;
    }
    if (_wrapV) {
        h = -h;
        th = -th;
    }
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(_x + _rotX * s, _y + _rotY * s, 0.0f);
    const float zAxis[3] = {0.0f, 0.0f, 1.0f};
    device.MatrixRotate(zAxis, _angle);
    const float x0 = -w / 2.0f;
    const float y0 = -h / 2.0f;
    const D3DCOLOR color = device.GetCurrentColor();
    Render::Vertex quad[4];
    quad[0] = {x0, y0, 0.0f, color, 0.0f, 0.0f};
    quad[1] = {x0 + tw, y0, 0.0f, color, 1.0f, 0.0f};
    quad[2] = {x0, y0 + th, 0.0f, color, 0.0f, 1.0f};
    quad[3] = {x0 + tw, y0 + th, 0.0f, color, 1.0f, 1.0f};
    if (device._d3dDevice != nullptr) {
        device._d3dDevice->SetVertexShader(Render::VERTEX_FVF);
        device._d3dDevice->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Render::Vertex));
    }
    device.PopMatrix();
}

void LoTexture::Do(const std::string& command) {
    if (command == "WrapH") {
        _wrapH = true;
    } else if (command == "WrapV") {
        _wrapV = true;
    }
}

LoEffect::LoEffect(const std::string& effectName) : _effect(GetParticleLibrary().GetEffect(effectName)) {
    _effect.Reset();
}

void LoEffect::Draw() {
    _effect.x = _x;
    _effect.y = _y;
    _effect.Draw();
}

void LoEffect::Update(float dt) {
    if (_isVisible) {
        _effect.Update(dt);
    }
}

void LoEffect::Do(const std::string& command) {
    if (command == "Reset") {
        _effect.x = _x;
        _effect.y = _y;
        _effect.Reset();
    }
}

LayerObject* AnimLayer::getObject(const std::string& name) {
    for (const ObjectSmartPointer<LayerObject>& object : _objects) {
        if (object->_name == name) {
            return object.Get();
        }
    }
    return nullptr;
}

LayerSet::LayerSet(const ObjectWeakPointer<XmlElement>& xml, const TextureSource& textures) {
    Assert(xml != NULL);
    if (xml == NULL) {
        return;
    }
    _name = xml->GetStringAttribute("name");
    for (ObjectWeakPointer<XmlElement> layerXml = xml->GetFirstChildElement("Layer"); layerXml != NULL;
         layerXml = layerXml->GetNextElement("Layer")) {
        ObjectSmartPointer<AnimLayer> layer(new AnimLayer());
        layer->_name = layerXml->GetStringAttribute("name");
        for (ObjectWeakPointer<XmlElement> objectXml = layerXml->GetFirstChildElement(); objectXml != NULL;
             objectXml = objectXml->GetNextElement()) {
            const std::string kind = objectXml->GetName();
            ObjectSmartPointer<LayerObject> object;
            if (kind == "Texture") {
                const std::string name = objectXml->GetStringAttribute("name");
                const TextureFound found = textures(objectXml->GetStringAttribute("texture"));
                object = ObjectSmartPointer<LayerObject>(new LoTexture(found.texture, found.owned));
                object->_name = name;
            } else if (kind == "Effect") {
                const std::string name = objectXml->GetStringAttribute("name");
                object = ObjectSmartPointer<LayerObject>(new LoEffect(objectXml->GetStringAttribute("effect")));
                object->_name = name;
            } else {
                Assert(false);
                // Reported once here, not again when the document goes.
                objectXml->MarkVisitedTree();
                continue;
            }
            layer->_objects.push_back(object);
        }
        _layers.push_back(layer);
    }
}

AnimLayer* LayerSet::getLayer(const std::string& name) {
    for (const ObjectSmartPointer<AnimLayer>& layer : _layers) {
        if (layer->_name == name) {
            return layer.Get();
        }
    }
    return nullptr;
}

void LayerSet::UpdateObjects(float dt) {
    for (const ObjectSmartPointer<AnimLayer>& layer : _layers) {
        for (const ObjectSmartPointer<LayerObject>& object : layer->_objects) {
            object->Update(dt);
        }
    }
}

void LayerSet::Draw() {
    RenderDevice& device = Render::device;
    for (const ObjectSmartPointer<AnimLayer>& layer : _layers) {
        if (!layer->_isVisible) {
            continue;
        }
        for (const ObjectSmartPointer<LayerObject>& object : layer->_objects) {
            device.PushMatrix();
            device.MatrixTranslate(layer->_x, layer->_y, 0.0f);
            device.MatrixScaleUniform(layer->_scale);
            if (object->_isVisible) {
                object->Draw();
            }
            device.PopMatrix();
        }
    }
}
