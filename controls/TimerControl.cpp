#include "controls/TimerControl.h"

#include "core/PermanentStorage.h"

namespace {
const char* const PLAYER_IN_GAME_TIME = "Player in game time";
}

TimerControl::TimerControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {}

TimerControl::~TimerControl() { AllowDestructor(); }

void TimerControl::Update(float dt) { _time += dt; }

void TimerControl::BeforePlayerChange() {
    const float base = PermanentStorage::GetLocalFloatOrDef(PLAYER_IN_GAME_TIME, 0.0f);
    PermanentStorage::SetLocalFloat(PLAYER_IN_GAME_TIME, static_cast<float>(base + _time));
}

void TimerControl::AfterPlayerChange() { _time = 0.0; }
