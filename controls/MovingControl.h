#pragma once
// Containers that move their children between named positions on text commands and report the
// arrival by one text message: "report arrival to " + receiver, "set arrival message " + text,
// "move to " + position name; "noreply move to " + name sends the arrival to "null".

#include <map>
#include <string>

#include "content/Spline.h"
#include "controls/FixedChildrenListControl.h"
#include "core/FPoint.h"
#include "core/MessageReceiver.h"

class CommonMovingControl : public FixedChildrenListControl, public MessageReceiver {
public:
    CommonMovingControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    // While the application runs, a pending report goes out first.
    ~CommonMovingControl() override;

    virtual bool IsMoving() = 0;
    // Ends the current move without a report.
    virtual void Stop() = 0;
    virtual void MoveTo(std::string name) = 0;

    void OnMessage(std::string message) override;

    std::string GetReportArrivalTo() const { return _reportArrivalTo; }
    std::string GetArrivalMessage() const { return _arrivalMessage; }

protected:
    // Sends the pending report and forgets it.
    void ReportArrival();

private:
    std::string _reportArrivalTo;
    std::string _arrivalMessage;
};

// Slides between the positions "in" and "out" in a fixed time along an eased path, with a sound.
class InOutMovingControl : public CommonMovingControl {
public:
    static constexpr int DIRECTION_NONE = 0;
    static constexpr int DIRECTION_IN = -1;
    static constexpr int DIRECTION_OUT = 1;

    InOutMovingControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    bool IsMoving() override;
    void Stop() override;
    void MoveTo(std::string name) override;
    void Update(float dt) override;

    float GetProgress() const { return _progress; }

private:
    FPoint PositionAt(float progress) const;

    FPoint _inPos;
    FPoint _outPos;
    float _totalTime = 0.0f;
    float _progress = 0.0f;
    int _direction = DIRECTION_NONE;
    TimedSpline _path;
    std::string _soundId;
};

// Moves at constant speed in a straight line to any of its named positions.
class MovingControl : public CommonMovingControl {
public:
    MovingControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    bool IsMoving() override;
    // Stays where it is: the target becomes the current position.
    void Stop() override;
    // An unknown name leaves the control as it was.
    void MoveTo(std::string name) override;
    void Update(float dt) override;

    FPoint GetFloatPos() const { return _floatPos; }

private:
    void TakeFloatPos();

    std::map<std::string, Point> _positions;
    int _speed = 0;
    FPoint _floatPos;
    Point _targetPos;
    bool _isMoving = false;
};
