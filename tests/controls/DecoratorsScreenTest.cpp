// The demo "decorators" screen from data/: built from its file, every part of it read, and
// scripted clicks reaching the script function through the drawn buttons.
#include <gtest/gtest.h>
#include <unistd.h>

#include "content/ResourceManager.h"
#include "core/MessageServer.h"
#include "core/XmlRead.h"
#include "tests/controls/DecoratorTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace decorators_test;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

class DecoratorsScreenTest : public DecoratorTest {
protected:
    void SetUp() override {
        DecoratorTest::SetUp();
        ASSERT_EQ(0, chdir(MARIVEL_SOURCE_DIR "/data"));
        MessageServer::SetScriptCall([this](const std::string& function, const std::string& text) {
            calls.push_back(function + "(" + text + ")");
        });
    }
    void TearDown() override {
        MessageServer::SetScriptCall(MessageServer::ScriptCall());
        DecoratorTest::TearDown();
    }

    std::vector<std::string> calls;
};

TEST_F(DecoratorsScreenTest, ScriptedClicksReachTheDrawnButtons) {
    LogCapture log;
    ResourceManager::LoadResourceFile("screens\\decorators_resources.xml");
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(std::string("screens\\decorators.xml")));
    container = ObjectSmartPointer<ControlContainer>(new ControlContainer(document->GetRoot()));
    document->GetRoot()->CheckVisited();
    container->Update(0.1f);
    container->Draw();

    struct Case {
        int x, y;
        const char* sent;  // empty: nothing
    } cases[] = {
        {445, 408, "rotated"},  // on the turned button, above its unturned place
        {455, 365, ""},         // on its unturned place only
        {400, 380, "rotated"},  // its middle, where the turn leaves it
        {250, 420, "zoomed"},   // on the drawn zoomed button, beyond its unzoomed place
        {150, 400, "zoomed"},
        {85, 362, ""},          // on its unzoomed place only
        {610, 380, "clipped"},  // the visible part of the clipped button
        {640, 380, ""},         // visible, but under the half-dark rectangle
        {680, 380, ""},         // the part of the button outside the window
        {20, 20, ""},
    };
    for (const Case& c : cases) {
        calls.clear();
        Click(c.x, c.y);
        container->Update(0.1f);
        container->Draw();
        const Texts expected = *c.sent ? Texts{std::string("OnDecoratorsButton(") + c.sent + ")"} : Texts{};
        EXPECT_EQ(calls, expected) << c.x << "," << c.y;
        Move(790, 590);
    }
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
