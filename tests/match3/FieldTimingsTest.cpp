// The field's timings that only the frames show: the slow motion after a long match, the landing
// sound, the early move hint of the first level, the wait of the few-paints hint, and the pictures
// its effects keep.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "match3/effects/PieceEffects.h"
#include "tests/match3/FieldTestSupport.h"

namespace field_test {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

// A board of level "One" without a line, a row of five of colour 1 ready in row 1.
const std::vector<std::string> FIVE_IN_ROW1 = {"231231", "111113", "312312", "123123", "231231", "312312"};

// The field deals its boards from the program's generator: the same seed, the same board.
TEST_F(FieldTest, BoardsFollowTheSeedOfTheProgramsGenerator) {
    auto colours = [this](unsigned seed) {
        field = ObjectSmartPointer<ZovGameFieldControl>();
        MakeField("", "", Point(400, 300), seed);
        std::string c;
        for (int x = 0; x < 6; ++x) {
            for (int y = 0; y < 6; ++y) c += std::to_string(field->Board().Cell(x, y)._color);
        }
        return c;
    };
    const std::string first = colours(11);
    EXPECT_EQ(first, colours(11));
    EXPECT_NE(first, colours(12));
    EXPECT_NE(first, colours(13));
}

TEST_F(FieldTest, AMatchOfFiveSlowsTheFieldDownAlongItsCurveForTheNamedPlayer) {
    const struct {
        const char* player;
        bool slows;
    } cases[] = {{"Corvanex17", true}, {"Player", false}};
    for (const auto& c : cases) {
        MakeField();
        Load("One");
        field->Board().Player().activePlayerName = c.player;
        Press(CellPoint(0, 5));  // the level's clock runs from the first press
        Release();
        Paint(FIVE_IN_ROW1);
        field->Board().FindAndClearMatches();
        EXPECT_EQ(c.slows, field->IsSlowMotion()) << c.player;
        // 40 frames of 0.025 s: the time scale falls to a tenth at a quarter of the 2.5 s (0.625 s)
        // and comes back to 1 at their end; the level's clock runs by the scaled time.
        float lowest = 1.0f;
        float lowestAt = 0.0f;
        float scaled = 0.0f;
        const float before = field->GetTimeLeft();
        for (int frame = 1; frame <= 100; ++frame) {
            field->Update(0.025f);
            scaled += 0.025f * field->GetTimeScale();
            if (field->GetTimeScale() < lowest) {
                lowest = field->GetTimeScale();
                lowestAt = 0.025f * static_cast<float>(frame);
            }
        }
        EXPECT_FALSE(field->IsSlowMotion()) << c.player;
        EXPECT_FLOAT_EQ(1.0f, field->GetTimeScale());
        EXPECT_NEAR(before - scaled, field->GetTimeLeft(), 0.001f) << c.player;
        if (c.slows) {
            EXPECT_NEAR(0.1f, lowest, 0.01f);
            EXPECT_NEAR(0.625f, lowestAt, 0.03f);
            EXPECT_LT(scaled, 2.5f * 0.75f);  // the 2.5 s of slow motion count as much less
        } else {
            EXPECT_FLOAT_EQ(1.0f, lowest) << c.player;
        }
    }
}

TEST_F(FieldTest, APieceLandingOnARestingPieceSounds) {
    MakeField();
    Load("One");
    // Column 0 holds a piece over three empty cells.
    Paint({"123123", ".31231", ".12312", ".23123", "231231", "312312"});
    Played();
    field->Board().StartFalls();
    Run(0.05f, 40);
    EXPECT_TRUE(Contains(Played(), "play item_fall"));
    // A swap moves pieces at rest speed: they arrive without the sound.
    Paint({"123123", "231231", "312312", "123123", "231231", "312312"});
    Run(0.05f, 5);
    Played();
    Press(CellPoint(0, 5));
    Release();
    Press(CellPoint(1, 5));
    Move(CellPoint(1, 5, 1, 0), captured);
    Release();
    Run(0.05f, 20);
    EXPECT_FALSE(Contains(Played(), "play item_fall"));
}

TEST_F(FieldTest, TheFirstLevelShowsTheMoveHintEarly) {
    MakeField();
    const struct {
        int levelNumber;
        float idleTime;
    } cases[] = {{1, 8.5f}, {2, 0.0f}, {7, 0.0f}};
    for (const auto& c : cases) {
        PermanentStorage::SetLocalInt("LevelNumber", c.levelNumber);
        std::string name = "One";
        ASSERT_TRUE(field->LoadLevel(name));
        EXPECT_FLOAT_EQ(c.idleTime, field->GetIdleTime()) << c.levelNumber;
    }
}

// "three_hint" waits (comes back after 1 s) until the field has been still for more than 0.4 s.
TEST_F(FieldTest, TheFewPaintsHintWaitsForAStillField) {
    MakeField();
    Load("One");
    const struct {
        int stillFrames;  // of 0.05 s after a move
        bool waits;
    } cases[] = {{7, true}, {9, false}};
    for (const auto& c : cases) {
        // A move of one piece makes the field busy; then it is still for the frames of the case.
        field->Pieces().StartMove(0, 0, PieceMove{0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.05f, 4, 0.0f, 0.0f, 0.0f});
        field->Update(0.05f);
        field->Update(0.05f);
        ASSERT_FLOAT_EQ(0.05f, field->GetStillTime());
        for (int i = 1; i < c.stillFrames; ++i) field->Update(0.05f);
        Run(0.0f, 1);
        const std::size_t waiting = field->GetDelayedCount();
        SendMessage("GameField", "three_hint");
        EXPECT_EQ(waiting + (c.waits ? 1 : 0), field->GetDelayedCount())
            << "still for " << field->GetStillTime() << " s";
    }
}

// The appearing wave holds the field's frame only while it runs: before it starts pieces move.
TEST_F(FieldTest, PiecesMoveBeforeTheAppearingWaveStartsAndWaitWhileItRuns) {
    MakeField();
    std::string name = "One";
    ASSERT_TRUE(field->LoadLevel(name));
    ASSERT_FALSE(field->GetShine().IsFlaring());
    ASSERT_FALSE(field->GetShine()._done);
    const PieceMove hop{0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.1f, 4, 0.0f, 0.0f, 0.0f};
    field->Pieces().StartMove(0, 0, hop);
    Run(0.05f, 3);
    EXPECT_FALSE(field->Pieces().At(0, 0).IsMoving());
    for (int i = 0; i < 100 && !field->GetShine().IsFlaring(); ++i) field->Update(0.05f);
    ASSERT_TRUE(field->GetShine().IsFlaring());
    field->Pieces().StartMove(0, 0, hop);
    Run(0.05f, 3);
    EXPECT_TRUE(field->Pieces().At(0, 0).IsMoving());
}

// Effects show a piece with their own copy of its picture, which keeps its frame and clock.
TEST_F(FieldTest, PieceEffectsKeepTheirOwnCopyOfThePicture) {
    MakeField();
    Load("One");
    Paint({"L21231", "231231", "312312", "123123", "231231", "312312"});
    field->Board().ClearCell(2, 2, "clearMatch3", false);   // a hiding piece
    field->Board().Detonate(0, 0, LIGHTNING, 2);              // pieces waiting for the lightning
    field->Board().NoMovesReshuffle(false, false);            // pieces flying to new cells
    std::vector<const AnimationService*> own;
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 6; ++y) own.push_back(field->Pieces().At(x, y).GetPicture().Get());
    }
    int pictures = 0;
    auto check = [&](const ObjectSmartPointer<AnimationService>& picture) {
        if (picture.Get() == nullptr) return;
        ++pictures;
        EXPECT_EQ(own.end(), std::find(own.begin(), own.end(), picture.Get()));
    };
    int kinds[3] = {0, 0, 0};
    field->GetEffects().ForEach([&](int, const EffectBase& effect) {
        if (const auto* hide = dynamic_cast<const HidePieceEffect*>(&effect)) {
            ++kinds[0];
            check(hide->_picture);
        } else if (const auto* splash = dynamic_cast<const SplashRemoverEffect*>(&effect)) {
            ++kinds[1];
            check(splash->_picture);
        } else if (const auto* replace = dynamic_cast<const ReplacePieceEffect*>(&effect)) {
            ++kinds[2];
            check(replace->_from);
            check(replace->_to);
        }
    });
    for (int kind : kinds) EXPECT_GT(kind, 0);
    EXPECT_GT(pictures, 3);
}

}  // namespace
}  // namespace field_test
