#pragma once
// Holds the definitions listed under its "children" while it lives in a control tree.

#include <vector>

#include "content/Definition.h"
#include "controls/Control.h"

class DefinitionContainerControl : public MouseTransparentControl {
public:
    DefinitionContainerControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~DefinitionContainerControl() override;

    void Draw() override {}
    void Update(float) override {}

    const std::vector<ObjectSmartPointer<Definition>>& GetDefinitions() const { return _definitions; }

private:
    std::vector<ObjectSmartPointer<Definition>> _definitions;
};
