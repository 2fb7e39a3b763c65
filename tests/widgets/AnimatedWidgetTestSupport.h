#pragma once
// Animated widget tests: the value widget fixture (scratch folder, recording device, storage with
// the active player "p", the font "edit" 13 high) with the animated widget classes registered.

#include <string>

#include "tests/widgets/ValueWidgetTestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/AnimatedWidgetClasses.h"

namespace animated_widgets_test {

using value_widgets_test::Pos;

class AnimatedWidgetTest : public value_widgets_test::ValueWidgetTest {
protected:
    void SetUp() override {
        ValueWidgetTest::SetUp();
        RegisterAnimatedWidgetClasses();
    }
    // Updates the tree count times by dt.
    void Run(int count, float dt) {
        for (int i = 0; i < count; ++i) container->Update(dt);
    }
    // The box of one recorded draw since the last draw, in logical units (y up).
    widgets_test::Box DrawBox(std::size_t draw) const { return widgets_test::BoxOf(recording->draws, draw, 1); }
    // Alpha byte of the first vertex of a recorded draw.
    int Alpha(std::size_t draw) const {
        return static_cast<int>((recording->draws[draw].world.at(0).color >> 24) & 0xFF);
    }
};

inline float CentreX(const widgets_test::Box& box) { return (box.left + box.right) / 2.0f; }
inline float CentreY(const widgets_test::Box& box) { return (box.bottom + box.top) / 2.0f; }

}  // namespace animated_widgets_test
