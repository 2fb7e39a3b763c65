#include "tests/widgets/ListWidgetTestSupport.h"

#include "content/TemplateLib.h"
#include "core/Message.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "core/XmlElement.h"
#include "widgets/ListWidgetClasses.h"

namespace list_widgets_test {

void ListWidgetTest::SetUp() {
    ValueWidgetTest::SetUp();
    RegisterListWidgetClasses();
}

void ListWidgetTest::TearDown() {
    container = nullptr;
    for (const std::string& name : _templates) TemplateLib::RemoveTemplate(name);
    _templates.clear();
    ValueWidgetTest::TearDown();
}

void ListWidgetTest::AddTemplate(const std::string& name, const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    ObjectSmartPointer<XmlElement> element(new XmlElement(document->GetRoot()));
    TemplateLib::AddTemplate(element, name);
    _templates.push_back(name);
}

void ListWidgetTest::Wheel(bool awayFromUser) {
    container->AcceptMessage(Message("MouseWheel", awayFromUser ? "true" : "false"));
}

}  // namespace list_widgets_test
