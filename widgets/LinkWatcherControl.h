#pragma once
// An invisible receiver that opens documents and web pages by link name: the links file maps
// names to targets, which the desktop's opener shows in the user's default viewer.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "platform/shell/Process.h"

class LinkWatcherControl : public MessageReceiver, public MouseTransparentControl {
public:
    using Opener = std::function<std::shared_ptr<ProcessPort::SpawnWatch>(const std::vector<std::string>& argv)>;

    // Attribute "links": an XML file whose root holds "link" elements ("name", "value").
    LinkWatcherControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~LinkWatcherControl() override;

    // A link name opens its target; other texts are unhandled.
    void OnMessage(std::string message) override;
    void Draw() override {}
    // Logs the openers that have failed since.
    void Update(float dt) override;

    // Only files inside the content folder (the current one) and http(s) addresses; the argument
    // vector of the opener, or empty for a target that is refused.
    static std::vector<std::string> OpenerArguments(const std::string& target);
    // Replaces the program starter (tests); an empty one restores the real one.
    static void SetOpener(Opener opener);

    const std::map<std::string, std::string>& GetLinks() const { return _links; }

private:
    std::map<std::string, std::string> _links;
    std::vector<std::shared_ptr<ProcessPort::SpawnWatch>> _openings;
};
