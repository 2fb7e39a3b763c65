#pragma once
// The small definitions: a message when made and another when gone, a sample played once, a
// player variable removed when gone or kept defined while the definition lives; and the two
// times of the context help.

#include <string>

#include "content/Definition.h"
#include "core/ObjectSmartPointer.h"
#include "core/ReceiverAndMessage.h"

class CreationMessageDefinition : public Definition {
public:
    // Reads "construction" and "destruction", then sends the construction message.
    explicit CreationMessageDefinition(const ObjectWeakPointer<XmlElement>& xml);
    // Sends the destruction message.
    ~CreationMessageDefinition() override;

private:
    ObjectSmartPointer<ReceiverAndMessage> _destruction;
};

class PlaySampleDefinition : public Definition {
public:
    // Plays the sample "name" once.
    explicit PlaySampleDefinition(const ObjectWeakPointer<XmlElement>& xml);
};

class UndefVariableDefinition : public Definition {
public:
    explicit UndefVariableDefinition(const ObjectWeakPointer<XmlElement>& xml);
    // Removes the variable from the active player's values.
    ~UndefVariableDefinition() override;

private:
    std::string _variableName;
};

class DefUndefVariableDefinition : public Definition {
public:
    // Sets the active player's string value "name" to "value".
    explicit DefUndefVariableDefinition(const ObjectWeakPointer<XmlElement>& xml);
    // Removes it again.
    ~DefUndefVariableDefinition() override;

private:
    std::string _variableName;
};

// The float attributes "initial" and "reshow" (0 <= reshow <= initial), in seconds.
class HelpTimes : public virtual Interface {
public:
    explicit HelpTimes(const ObjectWeakPointer<XmlElement>& xml);

    float GetInitialTime() const { return _initialTime; }
    float GetReshowTime() const { return _reshowTime; }

private:
    float _initialTime = 0.0f;
    float _reshowTime = 0.0f;
};
