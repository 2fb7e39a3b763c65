#include "controls/PlayerTimeLogger.h"

#include <cmath>
#include <limits>

#include "core/HtmlLog.h"
#include "core/Int.h"
#include "core/PermanentStorage.h"

namespace {

// Whole seconds, toward zero; a value no int holds is clamped (NaN reads 0).
std::string Seconds(float value) {
    if (std::isnan(value)) {
        return Int::ToString(0);
    }
    const double truncated = std::trunc(static_cast<double>(value));
    if (truncated >= static_cast<double>(std::numeric_limits<int>::max())) {
        return Int::ToString(std::numeric_limits<int>::max());
    }
    if (truncated <= static_cast<double>(std::numeric_limits<int>::min())) {
        return Int::ToString(std::numeric_limits<int>::min());
    }
    return Int::ToString(static_cast<int>(truncated));
}

}  // namespace

PlayerTimeLogger::PlayerTimeLogger(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {}

PlayerTimeLogger::~PlayerTimeLogger() { AllowDestructor(); }

void PlayerTimeLogger::BeforePlayerChange() {
    if (!PermanentStorage::GetGlobalBoolOrDef("betaLog", false)) {
        return;
    }
    const std::string name = PermanentStorage::GetActivePlayerName();
    const float total = PermanentStorage::GetLocalFloatOrDef("Total time", 0.0f);
    const float shop = PermanentStorage::GetLocalFloatOrDef("Shop time", 0.0f);
    const float field = PermanentStorage::GetLocalFloatOrDef("Game field time", 0.0f);
    const float cup = PermanentStorage::GetLocalFloatOrDef("Cup time", 0.0f);
    HtmlLog::WriteLine("Player: '" + name + "'; total time: " + Seconds(total) + "s; shop time: " + Seconds(shop) +
                       "s; game field time: " + Seconds(field) + "s; cup time:" + Seconds(cup) + "s.");
}
