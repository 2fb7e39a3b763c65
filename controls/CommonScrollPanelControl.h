#pragma once
// The motion engine of the scroll panels: children that slide along one axis between integer
// checkpoints, held by two buttons or stepped by the wheel, gliding to rest on a checkpoint.

#include <map>
#include <set>
#include <string>

#include "controls/FixedChildrenListControl.h"
#include "core/MessageReceiver.h"
#include "core/PlayerChangeListener.h"
#include "core/Variable.h"

class CommonScrollPanelControl : public FixedChildrenListControl,
                                 public MessageReceiver,
                                 public PlayerChangeListener {
public:
    CommonScrollPanelControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~CommonScrollPanelControl() override;

    // The wheel over the panel's content steps one checkpoint.
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Update(float dt) override;
    // Moves the control to the position along its axis.
    virtual void SetPosition(int pos) = 0;

    void OnMessage(std::string message) override;

    void BeforePlayerChange() override { StoreState(); }
    void AfterPlayerChange() override;

    // The stored position, brought into the checkpoints' range.
    int GetPos();
    void SetPos(int pos);

    int GetDirection() const { return _direction; }
    int GetPrevDirection() const { return _prevDirection; }
    int GetCheckpointsToGo() const { return _nCheckpointsToGo; }
    int GetSpeed() const { return _speed; }
    float GetTime() const { return _time; }
    const std::set<int>& GetCheckpoints() const { return _checkpoints; }

protected:
    // Called once by the derived constructor with the control's own coordinate on its axis.
    void CreatePosVariable(int defaultPos);
    void StoreState();
    void ReportPosition(bool atMin, bool atMax);

private:
    enum class StorageMode { OBJECT, LOCAL };

    void ReadSpeeds(const std::string& templateName);
    int FirstCheckpoint() const { return *_checkpoints.begin(); }
    int LastCheckpoint() const { return *_checkpoints.rbegin(); }

    int _speed = 1;
    int _baseSpeed = 1;
    std::string _minButtonName;
    std::string _maxButtonName;
    std::string _dispatcherName;
    std::set<int> _checkpoints;
    std::map<float, int> _speeds;
    ObjectSmartPointer<Variable<int>> _posVariable;
    ObjectSmartPointer<Variable<int>> _directionVariable;
    ObjectSmartPointer<Variable<int>> _prevDirectionVariable;
    ObjectSmartPointer<Variable<float>> _timeVariable;
    ObjectSmartPointer<Variable<int>> _checkpointsToGoVariable;
    int _direction = 0;
    int _prevDirection = 0;
    float _time = 0.0f;
    int _nCheckpointsToGo = 0;
    std::string _lastMinReport;
    std::string _lastMaxReport;
    std::string _lastDispatcherReport;
    float _pressTime = 0.0f;
    StorageMode _storageMode = StorageMode::OBJECT;
};
