#include "aquarium/ZOrderClientControl.h"

#include "core/VolumeObject.h"

ZOrderClientControl::ZOrderClientControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {}

ZOrderClientControl::~ZOrderClientControl() = default;

std::string ZOrderClientControl::GetKindName() { return std::string(); }

void ZOrderClientControl::TryStartSchool() {}

bool ZOrderClientControl::MakeWish() { return false; }

void ZOrderClientControl::AddVolume(VolumeObjectList& list) {
    list.push_back(ObjectSmartPointer<VolumeObject>(new VolumeObject(GetX(), GetY(), 0.0f, GetWidth(), GetHeight())));
}

bool ZOrderClientControl::JoinSchool(int, const std::vector<float>&, const std::vector<TrajectoryPoint>&) {
    return false;
}

void ZOrderClientControl::LeaveSchool() {}

bool ZOrderClientControl::IsUnderMouse() { return false; }

void ZOrderClientControl::StopStudy() {}

void ZOrderClientControl::Sell() {}

void ZOrderClientControl::OnText(const std::string&) {}
