#pragma once
// A zoom decorator that glides at a constant speed between the named factors of its
// "namedZooms" on the message "change zoom to " + name.

#include <map>
#include <string>

#include "controls/ZoomControl.h"
#include "core/MessageReceiver.h"

class ZoomChangeControl : public CommonZoomControl, public MessageReceiver {
public:
    // Reads the attributes "zoom" (the start factor) and "speed" (factor units per second) and the
    // child "namedZooms" with its "zoom" elements ("name", "value").
    ZoomChangeControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ZoomChangeControl() override;

    void Update(float dt) override;
    void OnMessage(std::string message) override;

    float GetCurrentZoom() const { return _currentZoom; }
    float GetDestinationZoom() const { return _destinationZoom; }

private:
    std::map<std::string, float> _zooms;
    float _speed = 0.0f;
    float _currentZoom = 1.0f;
    float _destinationZoom = 1.0f;
};
