#pragma once
// Game field tests: the effect test's recording device, fake sound and player, plus the field's
// content files in the scratch folder, receivers that record what the field sends, and helpers
// that place pieces and drive the mouse.

#include <functional>
#include <string>
#include <vector>

#include "controls/MouseEvents.h"
#include "core/MessageReceiver.h"
#include "match3/ZovGameFieldControl.h"
#include "tests/match3/EffectTestSupport.h"

namespace field_test {

// Records every message under its own name into a shared list: "receiver < text".
class TraceReceiver : public MessageReceiver {
public:
    TraceReceiver(const std::string& name, std::vector<std::string>& trace) : MessageReceiver(name), _trace(trace) {}
    void OnMessage(std::string message) override;
    std::function<void(const std::string&)> onMessage;

private:
    std::vector<std::string>& _trace;
};

// A plain 6 x 6 level with a silver row, used when a test needs no particular shape.
extern const char* const DEFAULT_LEVELS;

class FieldTest : public effects_test::EffectTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void WriteLevels(const std::string& levels);
    void WriteChipSets(const std::string& sets);
    // Builds the field (home position (400, 300) unless given, no start delays), with the program's
    // generator seeded.
    void MakeField(const std::string& extraAttributes = "", const std::string& extraChildren = "",
                   const Point& home = Point(400, 300), unsigned seed = 5);
    // Loads the level and lets the field appear.
    void Load(const std::string& name);
    // Colours by rows, top row first: a digit a chip of that colour, '.' an empty cell, '#' a hole,
    // 'L' a lightning, 'B' a black bomb, 'F' a fire cracker.
    void Paint(const std::vector<std::string>& rows);
    // Screen point of a cell's centre, moved by (dx, dy) logical units (y up).
    Point CellPoint(int x, int y, int dx = 0, int dy = 0);
    void Move(const Point& p, bool captured);
    void Press(const Point& p);
    void Release();
    void Key(int code);
    // Frames of dt until the pieces rest (at most n).
    void Run(float dt, int n);
    std::vector<std::string> Sent(const std::string& receiver) const;
    // Samples played since the last call, by name: "play name".
    std::vector<std::string> Played();

    ObjectSmartPointer<ZovGameFieldControl> field;
    std::vector<std::string> trace;
    std::vector<std::unique_ptr<TraceReceiver>> receivers;
    bool captured = false;
};

}  // namespace field_test
