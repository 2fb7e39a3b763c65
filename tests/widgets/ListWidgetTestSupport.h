#pragma once
// List widget tests: the value widget fixture with the list widget classes registered and
// templates given as XML text.

#include <string>
#include <vector>

#include "tests/widgets/ValueWidgetTestSupport.h"

namespace list_widgets_test {

using value_widgets_test::Pos;

class ListWidgetTest : public value_widgets_test::ValueWidgetTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the root element of the text as the template of that name.
    void AddTemplate(const std::string& name, const std::string& text);
    void Wheel(bool awayFromUser);
    void DoubleClick(int x, int y) { container->MouseDoubleClick(x, y); }

private:
    std::vector<std::string> _templates;
};

}  // namespace list_widgets_test
