// Credits scrolling upwards in a loop: the lines read, their places and the restart.
#include <gtest/gtest.h>

#include "content/TemplateLib.h"
#include "core/XmlRead.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/CreditsControl.h"

namespace {

using pictures_test::Quad;
using testing_support::LogCapture;

std::string CreditsXml(const std::string& text) {
    return "<CreditsControl><position x='400' y='100'/>" + text + "</CreditsControl>";
}

class CreditsControlTest : public widgets_test::TextControlTest {
protected:
    void SetUp() override {
        TextControlTest::SetUp();
        WritePicture("logo.png", 40, 16, 40);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='logo' path='logo.png'/></Textures>");
    }
    ObjectWeakPointer<CreditsControl> Credits() { return container->GetRoot().Cast<CreditsControl>(); }
};


TEST_F(CreditsControlTest, LinesGapsAndPicturesScrollUpFromThePosition) {
    LogCapture log;
    Build(CreditsXml("<text speed='10.0' height='1.5'><line font='fixed'>ab</line><blank35/><image texture='logo'/>"
                  "<line font='wide'>c</line></text>"));
    EXPECT_FLOAT_EQ(30.0f + 35.0f + 16.0f + 45.0f, Credits()->GetTotalHeight());
    std::vector<Quad> quads = Frame(0.5f);  // 5 units up
    ASSERT_EQ(3u, quads.size());
    // "ab" centred on x 400 with its bottom 30 below the position; the picture centred, its
    // bottom 81 below; "c" 126 below.
    const widgets_test::Box text = DrawnBox(0, 1);
    EXPECT_FLOAT_EQ(390.0f, text.left);
    EXPECT_FLOAT_EQ(410.0f, text.right);
    EXPECT_FLOAT_EQ(100.0f + 5.0f - 30.0f, text.bottom);
    EXPECT_EQ(380, quads[1].x);
    EXPECT_EQ(100 + 5 - 81, quads[1].y);
    EXPECT_EQ(40, quads[1].width);
    EXPECT_FLOAT_EQ(100.0f + 5.0f - 126.0f, DrawnBox(2, 1).bottom);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(CreditsControlTest, StartsAgainOnceTheLastLineHasRisenAboveThePosition) {
    Build(CreditsXml("<text speed='30.0'><line font='fixed'>a</line><line font='fixed'>b</line><blank60/></text>"));
    // 100 units at 30 a second: the restart comes after a little over 3.3 seconds.
    int frames = 0;
    float last = 0.0f;
    while (frames < 100) {
        Frame(0.1f);
        ++frames;
        if (Credits()->GetOffset() < last) break;
        last = Credits()->GetOffset();
    }
    EXPECT_EQ(34, frames);
    EXPECT_FLOAT_EQ(0.0f, Credits()->GetOffset());
    EXPECT_NEAR(99.0f, last, 0.01f);
}

TEST_F(CreditsControlTest, LinesFromATemplateAndFaultyLines) {
    const std::string text = "<text><blank12/><line font='fixed'>from the template</line></text>";
    ObjectSmartPointer<XmlDocument> doc(new XmlDocumentRead(text.data(), text.data() + text.size()));
    TemplateLib::AddTemplate(ObjectSmartPointer<XmlElement>(new XmlElement(doc->GetRoot())), "credits");
    {
        LogCapture log;
        Build(CreditsXml("<text resourceName='credits'/>"));
        EXPECT_FLOAT_EQ(32.0f, Credits()->GetTotalHeight());
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
    TemplateLib::RemoveTemplate("credits");
    {
        // An unknown element and a line in an unknown font are reported once; the rest shows.
        LogCapture log;
        Build(CreditsXml("<text><blank/><line font='nothing'>x</line><line font='fixed'>y</line></text>"));
        EXPECT_EQ(2, log.ErrorCount()) << log.Text();
        DrawOnly();
        EXPECT_EQ(1u, recording->draws.size());
        DrawOnly();
        EXPECT_EQ(2, log.ErrorCount()) << log.Text();
    }
}

}  // namespace
