#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "content/CyclicFloat.h"
#include "content/MotionChangers.h"
#include "content/MotionFlare.h"
#include "content/MotionTextures.h"
#include "content/MotionTransporter.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "shell/Texture.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(TransporterTest, LinearStopsAtTheLastUpdateBeforeItsEnd) {
    Transporter t(0, 0, 100, 50, 1, 1, 1.0f, Transporter::LINEAR, 0, 0, 0);
    t.Update(0.4f);
    EXPECT_FALSE(t.IsFinished());
    t.Update(0.4f);
    EXPECT_FLOAT_EQ(80.0f, t.x);
    EXPECT_FLOAT_EQ(40.0f, t.y);
    t.Update(0.4f);
    EXPECT_TRUE(t.IsFinished());
    EXPECT_FLOAT_EQ(80.0f, t.x);  // the position of 0.8 s, not the end point
}

TEST(TransporterTest, FallsHopsEasesAndScales) {
    Transporter fall(10, 500, 10, 100, 1, 1, 1.0f, Transporter::FALLING, 0, 0, 0);
    int steps = 0;
    while (!fall.IsFinished() && steps < 1000) {
        fall.Update(0.01f);
        ++steps;
    }
    EXPECT_TRUE(fall.IsFinished());
    EXPECT_FLOAT_EQ(100.0f, fall.y);
    EXPECT_LT(steps, 100);  // 400 units at 1200 per second squared: about 0.82 s

    Transporter diagonal(100, 500, 50, 100, 1, 1, 1.0f, Transporter::DIAGONAL_FALLING, 7, 0, 0);
    EXPECT_FLOAT_EQ(-1.0f, diagonal.vx);
    diagonal.Update(0.1f);
    EXPECT_LT(diagonal.x, 100.0f);

    Transporter hop(0, 200, 0, 40, 1, 1, 0.5f, Transporter::HOP, 0, 0, 0);
    hop.Update(0.25f);
    EXPECT_FLOAT_EQ(240.0f, hop.y);
    hop.Update(0.24f);
    EXPECT_NEAR(200.0f, hop.y, 2.0f);

    Transporter eased(0, 0, 100, 0, 0.5f, 1.5f, 1.0f, Transporter::EASED, 0, 0, 90);
    eased.Update(0.25f);
    EXPECT_NEAR(14.6447f, eased.x, 0.01f);
    EXPECT_FLOAT_EQ(0.75f, eased.scale);
    EXPECT_FLOAT_EQ(22.5f, eased.angle);
    eased.Update(0.25f);
    EXPECT_NEAR(50.0f, eased.x, 0.01f);

    Transporter still(5, 6, 50, 60, 1, 2, 1.0f, Transporter::STILL, 0, 0, 0);
    still.Update(0.5f);
    EXPECT_FLOAT_EQ(5.0f, still.x);
    EXPECT_FLOAT_EQ(1.5f, still.scale);
}

ObjectSmartPointer<XmlElement> Keys(const std::vector<std::vector<std::pair<std::string, std::string>>>& children,
                                    const char* childName = "key") {
    ObjectSmartPointer<XmlElement> root(new XmlElement("changer"));
    for (const auto& attributes : children) {
        ObjectSmartPointer<XmlElement> child(new XmlElement(childName));
        for (const auto& a : attributes) child->SetStringAttribute(a.first, a.second);
        root->AppendChild(child);
    }
    return root;
}

TEST(ChangersTest, ValuesAndPathsOverProgress) {
    ObjectSmartPointer<XmlElement> xe = Keys({{{"value", "1.0"}}, {{"value", "2.0"}}});
    ScaleChanger scale(xe);
    EXPECT_FLOAT_EQ(1.5f, scale.GetScale(0.5f));
    AlphaChanger alpha(xe);
    EXPECT_FLOAT_EQ(2.0f, alpha.GetAlpha(1.0f));
    AngleChanger angle(xe);
    EXPECT_FLOAT_EQ(1.0f, angle.GetAngle(0.0f));

    testing_support::LogCapture capture;
    ObjectSmartPointer<XmlElement> none = Keys({});
    ScaleChanger empty(none);
    EXPECT_TRUE(check_reports::Reported(capture, "_value.keys.size() >= 2"));
    EXPECT_FLOAT_EQ(1.0f, empty.GetScale(0.3f));
    AngleChanger noAngle(none);
    EXPECT_FLOAT_EQ(0.0f, noAngle.GetAngle(0.3f));
    empty.GetScale(1.5f);
    EXPECT_TRUE(check_reports::Reported(capture, "0 <= p && p <= 1"));

    PathMover path(Keys({{{"x", "0"}, {"y", "0"}}, {{"x", "10"}, {"y", "20"}}, {{"x", "20"}, {"y", "0"}}}));
    EXPECT_EQ(FPoint(10.0f, 20.0f), path.GetPosition(0.5f));
    EXPECT_EQ(FPoint(20.0f, 0.0f), path.GetPosition(1.0f));
    const int before = capture.ErrorCount();
    PathMover offOrigin(Keys({{{"x", "5"}, {"y", "0"}}, {{"x", "10"}, {"y", "20"}}}));
    EXPECT_EQ(before + 1, capture.ErrorCount());
    EXPECT_TRUE(check_reports::Reported(capture, "_path.keys.size() >= 2 && p == FPoint(0, 0)"));
}

TEST(ChangersTest, IntoBasketCurves) {
    ObjectSmartPointer<XmlElement> xe = Keys({{{"time", "0.5"}, {"x", "100.0"}, {"y", "50.0"}, {"size", "2.0"}},
                                              {{"time", "1.0"}, {"x", "200.0"}, {"y", "0.0"}, {"size", "0.5"}}});
    xe->SetStringAttribute("wholeTime", "1.5");
    xe->SetStringAttribute("range", "0.3");
    testing_support::LogCapture capture;
    IntoBasketMover mover(xe);
    EXPECT_EQ(0, capture.ErrorCount());
    EXPECT_FLOAT_EQ(1.5f, mover._wholeTime);
    // Flat tangents: the picture rests at every key, halfway between keys it is halfway.
    EXPECT_FLOAT_EQ(100.0f, mover._x.getValueAt(0.5f));
    EXPECT_FLOAT_EQ(50.0f, mover._x.getValueAt(0.25f));
    EXPECT_FLOAT_EQ(0.0f, mover._x.getGradientAt(0.5f));
    EXPECT_FLOAT_EQ(2.0f, mover._size.getValueAt(0.5f));
    EXPECT_NE(0.0f, mover._size.getGradientAt(0.5f));

    ObjectSmartPointer<XmlElement> bad = Keys({{{"time", "0.5"}, {"x", "1.0"}, {"y", "1.0"}, {"size", "0.0"}},
                                               {{"time", "0.4"}, {"x", "1.0"}, {"y", "1.0"}, {"size", "1.0"}}});
    bad->SetStringAttribute("wholeTime", "0.0");
    bad->SetStringAttribute("range", "1.0");
    IntoBasketMover wrong(bad);
    for (const char* expr : {"_wholeTime > 0.0f", "0.0f < _range && _range < 1.0f", "time > prevTime", "size > 0",
                             "prevTime == 1.0f"}) {
        EXPECT_TRUE(check_reports::Reported(capture, expr)) << expr;
    }
}

// Records flare begins and ends over time.
std::vector<std::pair<float, float>> Flares(FlarePosition& flare, float until) {
    std::vector<std::pair<float, float>> flares;
    const float dt = 0.01f;
    bool was = flare.IsFlaring();
    float start = 0.0f;
    for (int i = 1; i * dt <= until + 1e-4f; ++i) {
        flare.Update(dt);
        const bool now = flare.IsFlaring() && flare._overshoot == 0.0f;
        if (now && !was) start = i * dt;
        if (!now && was) flares.emplace_back(start, i * dt);
        was = now;
    }
    return flares;
}

TEST(FlarePositionTest, FromValuesAndFromXml) {
    Random::Seed(5);
    FlarePosition flare(1.0f, false, 2.0f, 3.0f, 5.0f);
    auto flares = Flares(flare, 12.0f);
    ASSERT_GE(flares.size(), 2u);
    EXPECT_NEAR(5.0f, flares[0].first, 0.011f);
    EXPECT_NEAR(6.0f, flares[0].second, 0.011f);
    const float pause = flares[1].first - flares[0].second;
    EXPECT_GE(pause, 2.0f - 0.011f);
    EXPECT_LE(pause, 3.0f + 0.011f);

    ObjectSmartPointer<XmlElement> xe(new XmlElement("flare"));
    xe->SetStringAttribute("flareLife", "1.0");
    xe->SetStringAttribute("flareOnce", "true");
    xe->SetStringAttribute("minFlarePause", "3.0");
    xe->SetStringAttribute("maxFlarePause", "2.0");
    xe->SetStringAttribute("beforeFirstFlare", "5.0");
    FlarePosition once(xe);
    EXPECT_FLOAT_EQ(3.0f, once._maxFlarePause);
    auto one = Flares(once, 12.0f);
    ASSERT_EQ(1u, one.size());
    EXPECT_NEAR(4.0f, one[0].first, 0.011f);
    EXPECT_NEAR(5.0f, one[0].second, 0.011f);
    EXPECT_TRUE(once._done);
    EXPECT_FLOAT_EQ(1.0f, once.GetProgress());
}

TEST(FlarePositionTest, ProgressAndOvershoot) {
    FlarePosition flare(2.0f, true, 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(1.0f, flare.GetProgress());  // before the flare
    flare.Update(1.5f);
    EXPECT_TRUE(flare.IsFlaring());
    EXPECT_FLOAT_EQ(0.25f, flare.GetProgress());
    flare.Update(2.0f);
    EXPECT_FLOAT_EQ(-0.5f, flare._overshoot);
    flare.Update(1.0f);
    EXPECT_FLOAT_EQ(-0.5f, flare._overshoot);  // finished for good: nothing changes any more
}

// A picture that only answers its size and records its drawing.
class FakeTexture : public Texture {
public:
    FakeTexture(const std::string& name, int width, int height, std::vector<std::string>& journal)
        : _name(name), _width(width), _height(height), _journal(journal) {}

    void AddReference() override { ++uses; }
    void RemoveReference() override { --uses; }
    void Load() override {}
    void Unload() override {}
    Rect GetRectangle() override { return Rect(0, 0, _width, _height); }
    void DrawTriangle(float, float, float, float, float, float, float, float, float, float, float, float) override {}
    void DrawColoredQuad(const ColoredPoint& p1, const ColoredPoint&, const ColoredPoint&, const ColoredPoint& p4,
                         const FRect& src) override {
        quads.push_back({p1, p4, src});
    }
    void DrawQuad(const FPoint&, const FPoint&, const FPoint&, const FPoint&, const FRect&) override {}
    void Draw(const FRect&, const FRect&) override {}
    void Draw(const Rect&, const FRect&) override {}
    void Draw(const FPoint&) override {}
    void Draw(const Point&) override { _journal.push_back(_name); }
    void DrawSilhouette(const Rect&, const FRect&) override {}
    void DrawSilhouette(const Point&) override {}
    bool IsPointOpaque(const Point&) override { return true; }
    bool IsPointTransparent(const Point&) override { return false; }

    struct Quad {
        ColoredPoint first;
        ColoredPoint last;
        FRect src;
    };
    std::vector<Quad> quads;
    int uses = 0;

private:
    std::string _name;
    int _width = 0;
    int _height = 0;
    std::vector<std::string>& _journal;
};

TEST(TextureMeshTest, GridAlphasAndQuads) {
    std::vector<std::string> journal;
    ObjectSmartPointer<FakeTexture> texture(new FakeTexture("t", 64, 32, journal));
    {
        TextureMesh mesh(texture, 4, 2, 0.25f, 0.75f, 0.0f, 1.0f);
        EXPECT_EQ(1, texture->uses);
        EXPECT_EQ(FPoint(8.0f, 16.0f), mesh.GetVertexPosition(1, 1));
        EXPECT_EQ(32, mesh.GetBounds().width);
        EXPECT_EQ(32, mesh.GetBounds().height);
        EXPECT_EQ(255, mesh.GetVertexAlpha(4, 2));
        testing_support::LogCapture capture;
        mesh.GetVertexAlpha(5, 0);
        EXPECT_TRUE(check_reports::Reported(capture, "0 <= i && i <= _columns && 0 <= j && j <= _rows"));

        mesh.GetVertexOffset(1, 1) = FPoint(9.0f, 17.0f);
        mesh.GetVertexAlpha(1, 1) = 100;
        mesh.Draw();
        ASSERT_EQ(8u, texture->quads.size());
        const auto& q = texture->quads[0];  // cell (0, 0): its last corner is vertex (1, 1)
        EXPECT_FLOAT_EQ(9.0f, q.last.x);
        EXPECT_EQ(100, q.last.color.alpha);
        EXPECT_FLOAT_EQ(0.25f, q.src.xStart);
        EXPECT_FLOAT_EQ(0.375f, q.src.xEnd);
        EXPECT_FLOAT_EQ(0.5f, q.src.yEnd);
        mesh.ResetGrid();
        EXPECT_EQ(FPoint(8.0f, 16.0f), mesh.GetVertexOffset(1, 1));
        mesh.SetAllVertexAlphas(7);
        EXPECT_EQ(7, mesh.GetVertexAlpha(0, 0));
    }
    EXPECT_EQ(0, texture->uses);
}

TEST(SmoothTextureChangerTest, QueueCrossFadeAndFlash) {
    std::vector<std::string> journal;
    ObjectSmartPointer<FakeTexture> x(new FakeTexture("x", 8, 8, journal));
    ObjectSmartPointer<FakeTexture> a(new FakeTexture("a", 8, 8, journal));
    ObjectSmartPointer<FakeTexture> b(new FakeTexture("b", 8, 8, journal));
    ObjectSmartPointer<FakeTexture> glow(new FakeTexture("glow", 8, 8, journal));
    {
        SmoothTextureChanger changer(x, 0.5f);
        changer.ChangeTexture(a);
        changer.ChangeTexture(b);
        changer.ChangeTexture(a);
        ASSERT_EQ(1u, changer.GetNextTextures().size());
        EXPECT_EQ(a.AsObjectAddress(), changer.GetNextTextures().front().GetPointer().AsObjectAddress());

        changer.Update(0.1f);  // share 0.8: current under the next one
        changer.Draw(0, 0);
        EXPECT_EQ((std::vector<std::string>{"x", "a"}), journal);
        journal.clear();
        changer.Update(0.2f);  // share 0.4: the next one first
        changer.Draw(0, 0);
        EXPECT_EQ((std::vector<std::string>{"a", "x"}), journal);
        changer.Update(0.2f);
        EXPECT_EQ(a.AsObjectAddress(), changer.GetCurrentTexture().AsObjectAddress());
        EXPECT_FLOAT_EQ(1.0f, changer._currentTextureShare);
        changer.ChangeTexture(a);  // already current: nothing
        EXPECT_TRUE(changer.GetNextTextures().empty());

        // Flash: starts at the first wrap after the base became current, pulses with the period.
        changer.SetFlash(a, glow, 1.0f, 0.5f);
        changer.Update(0.5f);
        EXPECT_FLOAT_EQ(0.0f, changer._flashTime);
        changer.Update(0.6f);  // wraps
        EXPECT_FLOAT_EQ(0.6f, changer._flashTime);
        changer.Update(0.1f);
        EXPECT_NEAR(0.5f * (1.0f - std::cos(2.0f * 3.1415925f * 0.7f)) / 2.0f, changer.GetFlashAlpha(), 1e-5f);
        journal.clear();
        changer.Draw(0, 0);
        EXPECT_EQ((std::vector<std::string>{"a", "glow"}), journal);

        // Leaving the flashing base fades from the flash picture through the base.
        const float alpha = changer.GetFlashAlpha();
        changer.ChangeTexture(b);
        EXPECT_EQ(glow.AsObjectAddress(), changer.GetCurrentTexture().AsObjectAddress());
        EXPECT_FLOAT_EQ(alpha, changer._currentTextureShare);
        ASSERT_EQ(2u, changer.GetNextTextures().size());
        EXPECT_EQ(a.AsObjectAddress(), changer.GetNextTextures().front().GetPointer().AsObjectAddress());
    }
    EXPECT_EQ(0, x->uses);
    EXPECT_EQ(0, a->uses);
    EXPECT_EQ(0, glow->uses);
}

}  // namespace

namespace {

class PositionedTextureTest : public content_test::ContentTest {};

TEST_F(PositionedTextureTest, PositionAndTextureOrFrameFromXml) {
    content_test::WritePng(dir + "a.png", 6, 4);
    content_test::WritePng(dir + "f0.png", 3, 3);
    content_test::WritePng(dir + "f1.png", 7, 5);
    LoadList("<Resources><Textures upload='refcount' storage='memory-keeping'><texture id='a' path='a.png'/>"
             "</Textures><Animations><TextureSetAnimation id='anim' start='0' step='1' count='2'>"
             "<texture upload='refcount' storage='memory-keeping' path='f[frameId].png'/>"
             "</TextureSetAnimation></Animations></Resources>");
    PositionedTexture empty;
    EXPECT_EQ(Point(0, 0), empty.position);
    EXPECT_TRUE(empty.texture == NULL);
    PositionedTexture plain(content_test::Parse("<picture x='12' y='-3' textureId='a'/>"));
    EXPECT_EQ(Point(12, -3), plain.position);
    ASSERT_TRUE(plain.texture != NULL);
    EXPECT_EQ(6, plain.texture->GetRectangle().width);
    PositionedTexture frame(content_test::Parse("<picture x='0' y='0' textureId='animation_frame:anim/-1'/>"));
    ASSERT_TRUE(frame.texture != NULL);
    EXPECT_EQ(7, frame.texture->GetRectangle().width);
}

}  // namespace

namespace {

TEST(FlarePositionTest, SavedTimerGoesOnWhereItStood) {
    FlarePosition flare(1.0f, false, 2.0f, 3.0f, 4.0f);
    flare.Update(1.5f);
    ObjectSmartPointer<XmlElement> xe(new XmlElement("flare"));
    flare.SaveTo(xe);
    FlarePosition back(xe);
    EXPECT_FLOAT_EQ(flare._remaining, back._remaining);
    EXPECT_FLOAT_EQ(1.0f, back._flareLife);
    EXPECT_FLOAT_EQ(2.0f, back._minFlarePause);
    EXPECT_FLOAT_EQ(3.0f, back._maxFlarePause);
    EXPECT_FALSE(back._flareOnce);
    back.Update(2.6f);
    EXPECT_TRUE(back.IsFlaring());
}

TEST(CyclicFloatTest, WrapsIntoItsLifeTime) {
    struct Case {
        float life;
        std::vector<float> steps;
        float phase;
    } cases[] = {
        {10.0f, {}, 0.0f},
        {10.0f, {2.5f}, 0.25f},
        {10.0f, {9.0f, 2.0f}, 0.1f},
        {10.0f, {10.0f}, 0.0f},
        {4.0f, {0.0f}, 0.0f},
        {4.0f, {13.0f}, 0.25f},
    };
    for (const Case& c : cases) {
        CyclicFloat f(c.life);
        for (float s : c.steps) f.Update(s);
        EXPECT_NEAR(c.phase, f.GetPhase(), 1e-5f) << c.life;
        EXPECT_LT(f._lifeCounter, f._lifeTime);
    }
}

TEST(CyclicFloatTest, NegativeStepOrNoLifeTimeIsRefused) {
    testing_support::LogCapture capture;
    CyclicFloat f(2.0f);
    f.Update(1.0f);
    f.Update(-0.5f);
    EXPECT_FLOAT_EQ(0.5f, f.GetPhase());
    CyclicFloat none(0.0f);
    none.Update(1.0f);
    EXPECT_FLOAT_EQ(0.0f, none.GetPhase());
    EXPECT_TRUE(check_reports::Reported(capture, "f >= 0"));
    EXPECT_TRUE(check_reports::Reported(capture, "_lifeTime > 0"));
}

}  // namespace
