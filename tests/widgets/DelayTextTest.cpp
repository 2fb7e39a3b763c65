// Delayed text lines and their group: reading, fading, drawing and placeholder replacement.
#include <gtest/gtest.h>

#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "shell/RenderDevice.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/DelayText.h"

namespace {

using testing_support::LogCapture;
using widgets_test::Box;
using widgets_test::RecordingTexture;

ObjectSmartPointer<XmlDocument> Read(const std::string& text) {
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
}

DelayText Line(const std::string& attributes) {
    ObjectSmartPointer<XmlDocument> doc = Read("<line " + attributes + "/>");
    return DelayText(doc->GetRoot());
}

class DelayTextTest : public widgets_test::TextDeviceTest {};

TEST_F(DelayTextTest, ReadsItsAttributesWithDefaults) {
    LogCapture log;
    const DelayText line = Line("x='10' y='20' font='fixed' text='Score' startTime='1.0' time='2.0'");
    EXPECT_EQ(10, line._position.x);
    EXPECT_EQ(20, line._position.y);
    EXPECT_EQ("fixed", line._font);
    EXPECT_EQ("Score", line._text);
    EXPECT_EQ(0, line._align);
    EXPECT_TRUE(line._vertical);
    EXPECT_FLOAT_EQ(1.0f, line._startTime);
    EXPECT_FLOAT_EQ(2.0f, line._fadeTime);
    EXPECT_FLOAT_EQ(0.0f, line._elapsed);
    EXPECT_TRUE(line._isVisible);
    EXPECT_TRUE(line._pictures.empty());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();

    struct Case {
        const char* align;
        int value;
        int errors;
    } cases[] = {{"Left", 0, 0}, {"Right", 1, 0}, {"Center", 2, 0}, {"center", 0, 1}};
    for (const Case& c : cases) {
        LogCapture each;
        const DelayText aligned =
            Line(std::string("x='0' y='0' font='fixed' text='t' startTime='0.0' time='1.0' vertical='false' align='") +
                 c.align + "'");
        EXPECT_EQ(c.value, aligned._align) << c.align;
        EXPECT_FALSE(aligned._vertical);
        EXPECT_EQ(c.errors, each.ErrorCount()) << c.align;
    }
}

TEST_F(DelayTextTest, FadesInAfterItsStartTime) {
    DelayText line = Line("x='0' y='0' font='fixed' text='t' startTime='1.0' time='2.0'");
    const float at[] = {0.0f, 0.5f, 1.0f, 2.0f, 3.0f, 10.0f};
    const float alpha[] = {0.0f, 0.0f, 0.0f, 0.5f, 1.0f, 1.0f};
    for (int i = 0; i < 6; ++i) {
        line._elapsed = at[i];
        EXPECT_FLOAT_EQ(alpha[i], line.GetAlpha()) << at[i];
    }
}

TEST_F(DelayTextTest, WithoutFadeTimeIsOpaqueFromItsStartTime) {
    for (const char* time : {"0.0", "-1.5"}) {
        DelayText line = Line(std::string("x='0' y='0' font='fixed' text='t' startTime='1.0' time='") + time + "'");
        line._elapsed = 0.5f;
        EXPECT_FLOAT_EQ(0.0f, line.GetAlpha()) << time;
        line._elapsed = 1.0f;
        EXPECT_FLOAT_EQ(1.0f, line.GetAlpha()) << time;
        line._elapsed = 7.0f;
        EXPECT_FLOAT_EQ(1.0f, line.GetAlpha()) << time;
    }
}

TEST_F(DelayTextTest, DrawsPicturesThenTextUnderItsOpacity) {
    LogCapture log;
    ObjectSmartPointer<RecordingTexture> picture(new RecordingTexture(8, 8));
    DelayText line = Line("x='100' y='50' font='fixed' text='ab' startTime='1.0' time='2.0' vertical='false'");
    line._pictures.push_back(DelayText::Picture{UsingPointer<Texture>(ObjectWeakPointer<Texture>(picture)), Point(3, 4)});
    EXPECT_EQ(1, picture->uses);

    line.Draw();  // before its start time
    EXPECT_TRUE(recording->draws.empty());
    EXPECT_TRUE(picture->drawnAt.empty());

    line._elapsed = 2.0f;
    line.Draw();
    ASSERT_EQ(1u, recording->draws.size());
    EXPECT_NEAR(127, DrawAlpha(0), 1);
    ASSERT_EQ(1u, picture->drawnAt.size());
    EXPECT_FLOAT_EQ(3.0f, picture->drawnAt[0]._x);
    EXPECT_FLOAT_EQ(4.0f, picture->drawnAt[0]._y);
    // Two glyphs of 10 from x 100, standing on y 50.
    const Box box = DrawnBox();
    EXPECT_FLOAT_EQ(100.0f, box.left);
    EXPECT_FLOAT_EQ(120.0f, box.right);
    EXPECT_FLOAT_EQ(50.0f, box.bottom);
    EXPECT_FLOAT_EQ(70.0f, box.top);
    EXPECT_EQ(1u, Render::device.GetAlphaStackSize());

    line._isVisible = false;
    line.Draw();
    EXPECT_EQ(1u, recording->draws.size());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(DelayTextTest, CopiesKeepTheirPicturesInUse) {
    ObjectSmartPointer<RecordingTexture> picture(new RecordingTexture(8, 8));
    {
        std::vector<DelayText> lines;
        DelayText line = Line("x='0' y='0' font='fixed' text='t' startTime='0.0' time='1.0'");
        line._pictures.push_back(DelayText::Picture{UsingPointer<Texture>(ObjectWeakPointer<Texture>(picture)), Point()});
        lines.push_back(line);
        lines.push_back(line);
        EXPECT_EQ(3, picture->uses);
    }
    EXPECT_EQ(0, picture->uses);
}

const char* const GROUP =
    "<delayText x='400' y='300' startTime='1.5'>"
    "<line x='0' y='0' font='fixed' text='Tiles: %TilesLevelMoney%' startTime='0.0' time='1.0' align='Center'/>"
    "<line x='0' y='-40' font='fixed' text='Score: %ScoreLevelMoney% and %ScoreLevelMoney%' startTime='1.0' time='1.0'/>"
    "<line x='0' y='-80' font='fixed' text='Total: %LevelMoney%' startTime='2.0' time='0.5'/>"
    "</delayText>";

TEST_F(DelayTextTest, GroupStartsTheLinesClocksAfterItsOwnStartTime) {
    LogCapture log;
    ObjectSmartPointer<XmlDocument> doc = Read(GROUP);
    DelayTextGroup group(doc->GetRoot());
    doc->GetRoot()->CheckVisited();
    ASSERT_EQ(3u, group._lines.size());
    EXPECT_EQ(400, group._position.x);
    EXPECT_EQ(2, group._lines[0]._align);

    group.Update(1.0f);
    group.Draw();
    EXPECT_TRUE(recording->draws.empty());
    group.Update(1.0f);  // the group's clock reaches 2, past its start time; the lines' clocks stay
    EXPECT_FLOAT_EQ(0.0f, group._lines[0]._elapsed);
    group.Update(0.5f);
    EXPECT_FLOAT_EQ(2.0f, group._elapsed);
    EXPECT_FLOAT_EQ(0.5f, group._lines[0]._elapsed);
    EXPECT_FLOAT_EQ(0.5f, group._lines[2]._elapsed);

    const std::size_t depth = Render::device.GetMatrixStackSize();
    group.Draw();  // only the first line is under way
    ASSERT_EQ(1u, recording->draws.size());
    // Centred on the group's x 400; 24 characters of 10, vertically centred on y 300.
    const Box box = DrawnBox();
    EXPECT_FLOAT_EQ(400.0f - 120.0f, box.left);
    EXPECT_FLOAT_EQ(400.0f + 120.0f, box.right);
    EXPECT_FLOAT_EQ(290.0f, box.bottom);
    EXPECT_FLOAT_EQ(310.0f, box.top);
    EXPECT_EQ(depth, Render::device.GetMatrixStackSize());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(DelayTextTest, ReplaceChangesTheFirstOccurrenceOfTheFirstLineHoldingIt) {
    ObjectSmartPointer<XmlDocument> doc = Read(GROUP);
    DelayTextGroup group(doc->GetRoot());
    EXPECT_EQ(1, group.Replace("%ScoreLevelMoney%", "$120"));
    EXPECT_EQ("Score: $120 and %ScoreLevelMoney%", group._lines[1]._text);
    EXPECT_EQ(1, group.Replace("%ScoreLevelMoney%", ""));
    EXPECT_EQ("Score: $120 and ", group._lines[1]._text);
    EXPECT_EQ(0, group.Replace("%TilesLevelMoney%", "%LevelMoney%"));
    EXPECT_EQ(0, group.Replace("%LevelMoney%", "x"));  // the first line holding it now

    LogCapture log;
    EXPECT_EQ(-1, group.Replace("%Missing%", "x"));
    EXPECT_EQ(1, log.ErrorCount());
    EXPECT_TRUE(log.Contains("%Missing%"));
}

}  // namespace
