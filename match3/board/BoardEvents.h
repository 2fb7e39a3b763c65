#pragma once
// Side effects of the board rules, handed to the owner as events: sounds, effects, messages and
// player values. The owner turns them into pictures, sounds and messages.

#include <string>
#include <vector>

#include "match3/board/BoardTypes.h"

enum class BoardEventType {
    Sound,              // name; pan, or the sound system's default pan when defaultPan
    Particle,           // name started in the particle owner `owner` (0 particles, 1 fall particles) at pos
    Effect,             // name of the effect class, layer, the fields it uses
    Message,            // receiver name, text
    DelayedMessage,     // receiver name, text, delay (seconds)
    PlayerInt,          // name, value
    PlayerBool,         // name, value (0 or 1)
    PlayerString,       // name, text
    SlowMotionCurve,    // the slow-motion curve is rebuilt (a bonus match)
    SlowMotion,         // a slow-motion flare of `duration` seconds starts
    HintClocksReset,    // a move search ran: the hint clocks go to 0
    MoveHintRestart,    // recoloured: the idle clock restarts (-0.2 while the move hint shows, else 0)
    ReshuffleSnapshot,  // about to recolour: keep a copy of every normal piece's picture
};

// The pan that keeps the sample's own pan.
constexpr int PAN_OWN = -101;

struct BoardEvent {
    BoardEventType type = BoardEventType::Sound;
    std::string name;
    std::string text;
    // Resource names an effect uses (texture, font).
    std::string resource;
    int value = 0;
    int pan = PAN_OWN;
    bool defaultPan = false;
    int owner = 0;
    int layer = 0;
    // Screen position.
    BoardFPoint pos;
    // The cell concerned (its piece's picture for piece effects), and a second cell.
    BoardPoint cell;
    BoardPoint other;
    float delay = 0.0f;
    float duration = 0.0f;
    float rise = 0.0f;
    float sizeFactor = 0.0f;
    float alphaPeak = 0.0f;
    // Lightning run: centres in running order and the arrival times (one more: the total time).
    std::vector<BoardFPoint> path;
    std::vector<float> times;
};

class BoardEventSink {
public:
    virtual ~BoardEventSink() = default;
    virtual void OnBoardEvent(const BoardEvent& event) = 0;
};

// Drops every event (benchmarks, level set-up without a screen).
class NullBoardEventSink : public BoardEventSink {
public:
    void OnBoardEvent(const BoardEvent&) override {}
};
