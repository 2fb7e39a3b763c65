#pragma once
// Decorators that scale their children about their own absolute position: one factor for both
// axes (ZoomControl) or one per axis (XYZoomControl). The pointer reaches the children mapped
// back by the inverse scale, so their hit tests need not know about the zoom.

#include "controls/FixedChildrenListControl.h"

class CommonZoomControl : public FixedChildrenListControl {
public:
    CommonZoomControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~CommonZoomControl() override;

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;

    void SetZoom(float xZoom, float yZoom);
    float GetXZoom() const { return _xZoom; }
    float GetYZoom() const { return _yZoom; }

private:
    float _xZoom = 0.0f;
    float _yZoom = 0.0f;
};

class ZoomControl : public CommonZoomControl {
public:
    // Reads the attribute "zoom" (> 0).
    ZoomControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
};

class XYZoomControl : public CommonZoomControl {
public:
    // Reads the attributes "xZoom" and "yZoom" (each > 0).
    XYZoomControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
};
