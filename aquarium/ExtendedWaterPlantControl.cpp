#include "aquarium/ExtendedWaterPlantControl.h"

#include <algorithm>
#include <cmath>

#include "aquarium/TankRecords.h"
#include "content/ResourceManager.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/FPoint.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "platform/render/D3D8.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"
#include "shell/Texture.h"

namespace {

constexpr float PI = 3.1415925f;
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};

void SetFog(bool on) {
    IDirect3DDevice8* device = Render::device._d3dDevice;
    if (device != nullptr) device->SetRenderState(D3DRS_FOGENABLE, on ? TRUE : FALSE);
}

Rect TextureRect(const UsingPointer<Texture>& texture) {
    return texture != NULL ? texture->GetRectangle() : Rect();
}

const char* KindName(WaterPlantLayer::Kind kind) {
    switch (kind) {
        case WaterPlantLayer::MESH: return "mesh";
        case WaterPlantLayer::ROTATION: return "rotation";
        case WaterPlantLayer::FLARE: return "flare";
        case WaterPlantLayer::STATIC: return "static";
    }
    return "static";
}

}  // namespace

WaterPlantLayer::Kind WaterPlantLayer::GetKind() const {
    if (motions.size() >= 2) return MESH;
    if (motions.size() == 1 && flare == nullptr) return ROTATION;
    if (flare != nullptr) return FLARE;
    return STATIC;
}

ExtendedWaterPlantControl::ExtendedWaterPlantControl(const ObjectWeakPointer<Control>& parent,
                                                     const ObjectWeakPointer<XmlElement>& xml)
    : BottomControl(parent, xml) {
    _placementDisallowedTexture = ResourceManager::GetTextureOrFrame("placement_disallowed");
    _canBeMirrored = xml->GetBoolAttributeOrDef("canBeMirrored", false);
    _mirror = xml->GetBoolAttributeOrDef("mirror", false);
    const ObjectWeakPointer<XmlElement> layers = xml->GetFirstChildElement("layers");
    Assert(layers != NULL);
    if (layers != NULL) {
        int count = 0;
        int cells = 0;
        int dropped = 0;
        for (ObjectWeakPointer<XmlElement> layer = layers->GetFirstChildElement(); layer != NULL;
             layer = layer->GetNextElement()) {
            // A mesh finer than a layer may be is cut when it is read.
            const int layerCells = std::min(PlantLayerCells(*layer.Get()), TankLimits::MAX_MESH_CELLS);
            if (count + 1 > TankLimits::MAX_PLANT_LAYERS || cells + layerCells > TankLimits::MAX_PLANT_CELLS) {
                layer->MarkVisitedTree();
                ++dropped;
                continue;
            }
            ++count;
            cells += layerCells;
            ReadLayer(layer);
        }
        if (dropped > 0) {
            ReportError("Plant '" + _shopItemId + "': " + std::to_string(dropped) + " layers past " +
                        std::to_string(TankLimits::MAX_PLANT_LAYERS) + " layers or " +
                        std::to_string(TankLimits::MAX_PLANT_CELLS) + " cells are not drawn");
        }
    }
    const ObjectWeakPointer<XmlElement> disallowed = xml->GetFirstChildElement("disallowed");
    _isFixed = disallowed == NULL;
    if (disallowed != NULL) {
        _disallowedCenterX = disallowed->GetIntAttribute("centerX");
        _disallowedCenterY = disallowed->GetIntAttribute("centerY");
    }
    const ObjectWeakPointer<XmlElement> dragging = xml->GetFirstChildElement("createInDragging");
    if (dragging != NULL) {
        const Point m(dragging->GetIntAttribute("x"), dragging->GetIntAttribute("y"));
        SetMousePos(m);
        _replyTo = dragging->GetStringAttribute("replyTo");
        Assert(!_replyTo.empty());
        // Centred under the mouse, measured again where the first placing put it (the scale
        // follows the height).
        for (int i = 0; i < 2; ++i) {
            const int floor = GetParent() != NULL ? GetParent()->GetAbsolutePos().y + _groundLine + FLOOR_MIN_Y : 0;
            const int x = m.x + static_cast<int>(GetWidth() / -2.0f);
            const int y = m.y + static_cast<int>(GetHeight() / -2.0f);
            SetAbsolutePos(Point(x, std::max(y, floor)));
        }
        ObjectSmartPointer<MouseDownEvent> down(new MouseDownEvent(false));
        OnMouseDown(ObjectWeakPointer<MouseDownEvent>(down));
        Assert(down->IsMouseCaptured());
    }
}

ExtendedWaterPlantControl::~ExtendedWaterPlantControl() = default;

std::string ExtendedWaterPlantControl::CheckRecord(const ObjectWeakPointer<XmlElement>& record, bool isStored) {
    const XmlElement& plant = *record.Get();
    for (const char* name : {"position", "shopItem", "fog", "ground", "icon", "layers"}) {
        if (RecordChild(plant, name) == nullptr) return std::string("<") + name + "> is missing";
    }
    // Only a plant just bought is made under the mouse; a stored one never is.
    if (isStored && RecordChild(plant, "createInDragging") != nullptr) return "a stored plant holds <createInDragging>";
    const XmlElement& position = *RecordChild(plant, "position");
    for (const char* axis : {"x", "y"}) {
        const std::string problem = CheckRecordRange(position, axis, -2048.0, 2047.0);
        if (!problem.empty()) return problem;
    }
    const std::string ground = CheckRecordRange(*RecordChild(plant, "ground"), "groundLine", -2048.0, 2047.0);
    if (!ground.empty()) return ground;
    int count = 0;
    int cells = 0;
    const XmlElement& layers = *RecordChild(plant, "layers");
    for (XmlNode* n = layers.FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        const XmlElement* layer = dynamic_cast<const XmlElement*>(n);
        if (layer == nullptr) continue;
        if (++count > TankLimits::MAX_PLANT_LAYERS) {
            return "more than " + std::to_string(TankLimits::MAX_PLANT_LAYERS) + " layers";
        }
        const std::string& kind = layer->NameRef();
        std::string problem;
        if (kind == "mesh") {
            problem = CheckRecordRange(*layer, "meshWidth", 1.0, TankLimits::MAX_MESH_CELLS);
            if (problem.empty()) problem = CheckRecordRange(*layer, "meshHeight", 1.0, TankLimits::MAX_MESH_CELLS);
            if (problem.empty() && PlantLayerCells(*layer) > TankLimits::MAX_MESH_CELLS) {
                problem = "a mesh of more than " + std::to_string(TankLimits::MAX_MESH_CELLS) + " cells";
            }
        } else if (kind == "flare") {
            problem = CheckRecordTimer(*layer);
        } else if (kind != "static" && kind != "rotation") {
            problem = "<" + TankItemRecords::ShownName(*layer) + "> is no plant layer";
        }
        if (!problem.empty()) return problem;
        cells += PlantLayerCells(*layer);
        if (cells > TankLimits::MAX_PLANT_CELLS) {
            return "more than " + std::to_string(TankLimits::MAX_PLANT_CELLS) + " cells in its layers";
        }
    }
    return std::string();
}

void ExtendedWaterPlantControl::ReadLayer(const ObjectWeakPointer<XmlElement>& layerXml) {
    const std::string name = layerXml->GetName();
    WaterPlantLayer layer;
    layer.textureId = layerXml->GetStringAttribute("textureId");
    const UsingPointer<Texture> texture = ResourceManager::GetTextureOrFrame(layer.textureId);
    const Rect rect = TextureRect(texture);
    const float texH = static_cast<float>(rect.height);
    if (name == "mesh") {
        layer.bottomStaticLine = layerXml->GetIntAttribute("bottomStaticLine");
        int columns = layerXml->GetIntAttribute("meshWidth");
        int rows = layerXml->GetIntAttribute("meshHeight");
        if (columns < 1 || rows < 1 || columns > TankLimits::MAX_MESH_CELLS / rows) {
            const int cutColumns = std::min(std::max(columns, 1), TankLimits::MAX_MESH_CELLS);
            const int cutRows = std::min(std::max(rows, 1), TankLimits::MAX_MESH_CELLS / cutColumns);
            ReportError("Plant '" + _shopItemId + "': a mesh of " + std::to_string(columns) + " x " +
                        std::to_string(rows) + " cells is cut to " + std::to_string(cutColumns) + " x " +
                        std::to_string(cutRows));
            columns = cutColumns;
            rows = cutRows;
        }
        const float ratio = texH > 0 ? static_cast<float>(layer.bottomStaticLine) / texH : 0.0f;
        layer.meshes.push_back(
            std::make_shared<TextureMesh>(texture.GetPointer(), columns, rows, 0.0f, 1.0f, ratio, 1.0f));
        layer.meshes.push_back(std::make_shared<TextureMesh>(texture.GetPointer(), 1, 1, 0.0f, 1.0f, 0.0f, ratio));
        layer.maxShift = layerXml->GetFloatAttribute("maxShift");
        TextureMesh& grid = *layer.meshes[0];
        const float b = static_cast<float>(layer.bottomStaticLine);
        const float h = texH - b;
        layer.motions.resize(static_cast<std::size_t>(grid._columns + 1));
        for (int i = 0; i <= grid._columns; ++i) {
            for (int j = 0; j <= grid._rows; ++j) {
                const FPoint p = grid.GetVertexPosition(i, j);
                RandomCircleMotion motion;
                // p.y > b implies h > b here, so the root has a positive divisor.
                if (p._y > b) {
                    const float r = layer.maxShift * std::sqrt((p._y - b) / (h - b));
                    motion = RandomCircleMotion(r, r, 0.0f, PI / 2.0f);
                }
                layer.motions[i].push_back(motion);
                grid.GetVertexOffset(i, j) = FPoint(p._x + motion.offsetX, p._y + motion.offsetY);
            }
        }
    } else if (name == "rotation") {
        layer.meshes.push_back(std::make_shared<TextureMesh>(texture.GetPointer(), 1, 1, 1.0f, 1.0f));
        layer.pivotX = layerXml->GetIntAttribute("pivotX");
        layer.pivotY = layerXml->GetIntAttribute("pivotY");
        layer.maxShift = layerXml->GetFloatAttribute("maxShift");
        layer.cyclic = layerXml->GetBoolAttribute("cyclic");
        layer.angle = 0.0f;
        layer.motions.resize(1);
        layer.motions[0].push_back(RandomCircleMotion(layer.cyclic ? 0.0f : layer.maxShift, 0.0f, PI / 6.0f, PI / 2.0f));
    } else if (name == "flare") {
        layer.meshes.push_back(std::make_shared<TextureMesh>(texture.GetPointer(), 1, 1, 1.0f, 1.0f));
        layer.flare = std::make_shared<FlarePosition>(layerXml);
    } else if (name == "static") {
        layer.meshes.push_back(std::make_shared<TextureMesh>(texture.GetPointer(), 1, 1, 1.0f, 1.0f));
    } else {
        Assert(false);
        return;
    }
    layer.x = layerXml->GetIntAttribute("x");
    layer.y = layerXml->GetIntAttribute("y");
    _layers.push_back(layer);
}

// Input: a fixed plant lets everything through.

void ExtendedWaterPlantControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (!_isFixed) BottomControl::OnMouseDown(event);
}

void ExtendedWaterPlantControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (!_isFixed) BottomControl::OnMouseUp(event);
}

void ExtendedWaterPlantControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!_isFixed) BottomControl::OnMouseMove(event);
}

// Sway.

void ExtendedWaterPlantControl::Update(float dt) {
    BottomControl::Update(dt);
    for (WaterPlantLayer& layer : _layers) {
        switch (layer.GetKind()) {
            case WaterPlantLayer::MESH: {
                TextureMesh& grid = *layer.meshes[0];
                for (int i = 0; i <= grid._columns; ++i) {
                    for (int j = 0; j <= grid._rows; ++j) {
                        RandomCircleMotion& motion = layer.motions[i][j];
                        motion.Update(dt);
                        const FPoint p = grid.GetVertexPosition(i, j);
                        grid.GetVertexOffset(i, j) = FPoint(p._x + motion.offsetX, p._y + 0.3f * motion.offsetY);
                    }
                }
                break;
            }
            case WaterPlantLayer::ROTATION: {
                RandomCircleMotion& motion = layer.motions[0][0];
                motion.Update(dt);
                if (layer.cyclic) {
                    layer.angle += RandomFloatRange(PI / 6.0f, PI / 2.0f) * layer.maxShift * dt;
                    // Wrapped, so hours of turning keep their precision.
                    layer.angle = std::fmod(layer.angle, 360.0f);
                } else {
                    layer.angle = motion.offsetX;
                }
                break;
            }
            case WaterPlantLayer::FLARE:
                if (layer.flare->_flareLife > 0.0f) layer.flare->Update(dt);
                break;
            case WaterPlantLayer::STATIC:
                break;
        }
    }
}

// Drawing.

void ExtendedWaterPlantControl::Draw() {
    if (_isOverTarget) return;
    if ((_isSelling || _isBuyCancelling) && _isIconShowing) return;
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    const float s = GetScale();
    device.PushMatrix();
    device.MatrixTranslate(0.0f, 0.0f, GetFogRate() * 1999.8f - 999.9f);
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    if (_mirror) {
        const float w = GetWidth();
        device.MatrixTranslate(w / 2.0f, 0.0f, 0.0f);
        device.MatrixScale(-1.0f, 1.0f, 1.0f);
        device.MatrixTranslate(-w / 2.0f, 0.0f, 0.0f);
    }
    device.MatrixScale(s, s, 1.0f);
    device.MatrixTranslate(0.0f, static_cast<float>(-_groundLine), 0.0f);
    for (WaterPlantLayer& layer : _layers) {
        device.PushMatrix();
        device.MatrixTranslate(static_cast<float>(layer.x), static_cast<float>(layer.y), 0.0f);
        switch (layer.GetKind()) {
            case WaterPlantLayer::MESH:
                SetFog(true);
                layer.meshes[1]->Draw();
                device.MatrixTranslate(0.0f, static_cast<float>(layer.bottomStaticLine), 0.0f);
                layer.meshes[0]->Draw();
                SetFog(false);
                break;
            case WaterPlantLayer::STATIC:
                SetFog(true);
                layer.meshes[0]->Draw();
                SetFog(false);
                break;
            case WaterPlantLayer::ROTATION:
                SetFog(true);
                device.MatrixRotate(Z_AXIS, layer.angle);
                device.MatrixTranslate(static_cast<float>(-layer.pivotX), static_cast<float>(-layer.pivotY), 0.0f);
                layer.meshes[0]->Draw();
                SetFog(false);
                break;
            case WaterPlantLayer::FLARE:
                device.SetBlendMode(2);
                device.PushAlpha(std::sin(PI * layer.flare->GetProgress()));
                layer.meshes[0]->Draw();
                device.PopAlpha();
                device.SetBlendMode(0);
                break;
        }
        device.PopMatrix();
    }
    device.PopMatrix();
    if (_isInDragging && !_isOverTarget && (_position.y < FLOOR_MIN_Y || _position.y > FLOOR_MAX_Y) &&
        _placementDisallowedTexture != NULL) {
        const Rect marker = _placementDisallowedTexture->GetRectangle();
        const int x = a.x + static_cast<int>(s * static_cast<float>(_disallowedCenterX) - marker.width / 2.0f);
        const int y = a.y + static_cast<int>(s * static_cast<float>(_disallowedCenterY) - marker.height / 2.0f);
        _placementDisallowedTexture->Draw(Point(x, y));
    }
}

// Tank item operations.

ObjectSmartPointer<XmlElement> ExtendedWaterPlantControl::SaveToXml() {
    // A new plant is not paid for until its first drop; an owned one is saved at its home
    // position even while dragged, so a commit during a drag keeps it.
    if (_isFixed || IsNewItem()) return ObjectSmartPointer<XmlElement>();
    ObjectSmartPointer<XmlElement> element(new XmlElement("ExtendedWaterPlantControl"));
    SaveCommon(element);
    element->SetBoolAttribute("canBeMirrored", _canBeMirrored);
    element->SetBoolAttribute("mirror", _mirror);
    ObjectSmartPointer<XmlElement> layers(new XmlElement("layers"));
    for (const WaterPlantLayer& layer : _layers) {
        const WaterPlantLayer::Kind kind = layer.GetKind();
        ObjectSmartPointer<XmlElement> layerXml(new XmlElement(KindName(kind)));
        if (kind == WaterPlantLayer::FLARE) {
            layer.flare->SaveTo(layerXml);
        } else if (kind == WaterPlantLayer::ROTATION) {
            layerXml->SetFloatAttribute("maxShift", layer.maxShift);
            layerXml->SetBoolAttribute("cyclic", layer.cyclic);
            layerXml->SetIntAttribute("pivotX", layer.pivotX);
            layerXml->SetIntAttribute("pivotY", layer.pivotY);
        } else if (kind == WaterPlantLayer::MESH) {
            layerXml->SetFloatAttribute("maxShift", layer.maxShift);
            layerXml->SetIntAttribute("bottomStaticLine", layer.bottomStaticLine);
            layerXml->SetIntAttribute("meshWidth", layer.meshes[0]->_columns);
            layerXml->SetIntAttribute("meshHeight", layer.meshes[0]->_rows);
        }
        layerXml->SetStringAttribute("textureId", layer.textureId);
        layerXml->SetIntAttribute("x", layer.x);
        layerXml->SetIntAttribute("y", layer.y);
        layers->AppendChild(layerXml);
    }
    element->AppendChild(layers);
    ObjectSmartPointer<XmlElement> disallowed(new XmlElement("disallowed"));
    disallowed->SetIntAttribute("centerX", _disallowedCenterX);
    disallowed->SetIntAttribute("centerY", _disallowedCenterY);
    element->AppendChild(disallowed);
    return element;
}

std::string ExtendedWaterPlantControl::GetKindName() { return "WaterPlant"; }

float ExtendedWaterPlantControl::GetX() { return static_cast<float>(_position.x); }

float ExtendedWaterPlantControl::GetY() { return static_cast<float>(_position.y - _groundLine); }

float ExtendedWaterPlantControl::Extent(bool isWidth) const {
    float extent = 0.0f;
    for (const WaterPlantLayer& layer : _layers) {
        if (extent != 0.0f) break;
        const Rect rect = layer.meshes.empty() ? Rect() : layer.meshes[0]->GetTexture() != NULL
                                                              ? layer.meshes[0]->GetTexture()->GetRectangle()
                                                              : Rect();
        float size = static_cast<float>(isWidth ? rect.width : rect.height);
        if (layer.GetKind() == WaterPlantLayer::ROTATION) size /= 2.0f;
        extent = std::max(extent, size + static_cast<float>(isWidth ? layer.x : layer.y));
    }
    return extent;
}

float ExtendedWaterPlantControl::GetWidth() { return Extent(true) * GetScale(); }

float ExtendedWaterPlantControl::GetHeight() { return Extent(false) * GetScale(); }

bool ExtendedWaterPlantControl::IsUnderMouse() {
    const Point d = GetMousePos() - GetAbsolutePos();
    return IsPointInside(d.x, d.y);
}

void ExtendedWaterPlantControl::OnText(const std::string& text) {
    if (text != "mirror") return;
    if (_canBeMirrored) {
        _mirror = !_mirror;
    } else {
        Sound::soundSystem.PlaySample("not_allow");
    }
}

bool ExtendedWaterPlantControl::IsPointInside(int dx, int dy) {
    if (_mirror) {
        const float s = GetScale();
        dx = static_cast<int>(GetWidth() / s) - dx;
    }
    for (const WaterPlantLayer& layer : _layers) {
        if (layer.meshes.empty()) continue;
        const ObjectWeakPointer<Texture> texture = layer.meshes[0]->GetTexture();
        if (texture == NULL) continue;
        const float qx = static_cast<float>(dx - layer.x);
        const float qy = static_cast<float>(dy + _groundLine - layer.y);
        if (layer.GetKind() == WaterPlantLayer::ROTATION) {
            const FPoint q = FPoint(qx, qy).Rotate(-layer.angle * PI / 180.0f);
            if (texture->IsPointOpaque(Point(static_cast<int>(q._x) + layer.pivotX,
                                             static_cast<int>(q._y) + layer.pivotY))) {
                return true;
            }
        } else if (texture->IsPointOpaque(Point(static_cast<int>(qx), static_cast<int>(qy)))) {
            return true;
        }
    }
    return false;
}
