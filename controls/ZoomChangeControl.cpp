#include "controls/ZoomChangeControl.h"

#include <algorithm>

#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/String.h"
#include "core/XmlElement.h"

ZoomChangeControl::ZoomChangeControl(const ObjectWeakPointer<Control>& parent,
                                     const ObjectWeakPointer<XmlElement>& xml)
    : CommonZoomControl(parent, xml), MessageReceiver(xml) {
    if (xml != NULL) {
        _currentZoom = xml->GetFloatAttribute("zoom");
        _speed = xml->GetFloatAttribute("speed");
    }
    Assert(_currentZoom > 0.0f);
    Assert(_speed > 0.0f);
    _destinationZoom = _currentZoom;
    const ObjectWeakPointer<XmlElement> namedZooms = GetNeededChild(xml, "namedZooms");
    if (namedZooms != NULL) {
        ObjectWeakPointer<XmlElement> oneZoomXml = namedZooms->GetFirstChildElement();
        Assert(oneZoomXml != NULL);
        for (; oneZoomXml != NULL; oneZoomXml = oneZoomXml->GetNextElement()) {
            Assert(oneZoomXml->GetName() == "zoom");
            const std::string name = oneZoomXml->GetStringAttribute("name");
            const float zoom = oneZoomXml->GetFloatAttribute("value");
            Assert(_zooms.find(name) == _zooms.end());
            Assert(zoom > 0.0f);
            _zooms.insert(std::make_pair(name, zoom));
        }
    }
    SetZoom(_currentZoom, _currentZoom);
}

ZoomChangeControl::~ZoomChangeControl() = default;

void ZoomChangeControl::OnMessage(std::string message) {
    std::string destinationName = message;
    if (String::IsHeadCut(destinationName, "change zoom to ")) {
        const auto found = _zooms.find(destinationName);
        Assert(_zooms.find(destinationName) != _zooms.end());
        if (found != _zooms.end()) {
            _destinationZoom = found->second;
        }
        return;
    }
    MessageReceiver::OnMessage(message);
}

void ZoomChangeControl::Update(float dt) {
    Assert(dt > 0.0f);
    if (_currentZoom < _destinationZoom) {
        _currentZoom = std::min(_currentZoom + dt * _speed, _destinationZoom);
        SetZoom(_currentZoom, _currentZoom);
    } else if (_currentZoom > _destinationZoom) {
        _currentZoom = std::max(_currentZoom - dt * _speed, _destinationZoom);
        SetZoom(_currentZoom, _currentZoom);
    } else {
        Assert(_currentZoom == _destinationZoom);
    }
    FixedChildrenListControl::Update(dt);
}
