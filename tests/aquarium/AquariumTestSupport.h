#pragma once
// Tank tests: two tank items of the tests' own, recording receivers, a loaded storage with two
// players, and aquarium screens built from XML text on the recording device.

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "aquarium/AquariumDispatcherControl.h"
#include "aquarium/BottomControl.h"
#include "aquarium/ZOrderControl.h"
#include "core/MessageReceiver.h"
#include "core/MessageServer.h"
#include "tests/controls/PictureTestSupport.h"

namespace aquarium_test {

// What items and receivers saw, in order.
std::vector<std::string>& Trace();
// The entries of the trace that begin with the prefix, in order.
std::vector<std::string> TraceOf(const std::string& prefix);
// The lists one after the other.
std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts);

// Records "<name> < <message>"; answers "Is active?" with its flag.
class Receiver : public MessageReceiver {
public:
    explicit Receiver(const std::string& name) : MessageReceiver(name) {}
    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;

    bool active = false;
    std::function<void(const std::string&)> onMessage;
};

// Records messages like Receiver, queries as "<name> ? <query>", and answers them from a table.
class Answering : public MessageReceiver {
public:
    explicit Answering(const std::string& name) : MessageReceiver(name) {}
    void OnMessage(std::string message) override { Trace().push_back(GetReceiverName() + " < " + message); }
    std::string OnMessageReply(std::string message) override {
        Trace().push_back(GetReceiverName() + " ? " + message);
        return answers.count(message) != 0 ? answers[message] : MessageReceiver::OnMessageReply(message);
    }
    std::map<std::string, std::string> answers;
};

// Element "TestTankItem": position, attributes "name", "kind", "z" (float), "width", "height",
// "wish" (what MakeWish answers). Saves itself in the same form.
class TestTankItem : public ZOrderClientControl {
public:
    TestTankItem(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent>) override {}
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent>) override {}
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent>) override {}
    void Draw() override;
    void Update(float dt) override;

    ObjectSmartPointer<XmlElement> SaveToXml() override;
    void OnSellingCancelled() override;
    void OnSellingDone() override;
    std::string GetKindName() override { return kind; }
    float GetZ() override { return z; }
    float GetX() override { return static_cast<float>(_position.x); }
    float GetY() override { return static_cast<float>(_position.y); }
    float GetWidth() override { return static_cast<float>(width); }
    float GetHeight() override { return static_cast<float>(height); }
    void TryStartSchool() override;
    bool MakeWish() override;
    void StopStudy() override;
    void Sell() override;
    void OnText(const std::string& text) override;

    std::string name;
    std::string kind;
    float z = 0.5f;
    int width = 10;
    int height = 10;
    bool wish = false;
    bool isSaved = true;
    // Asks the tank to remove it at its next update.
    bool leaves = false;
};

// Element "TestFloorItem": the floor item's elements, attributes "name", "width", "height" (its
// box from the lower-left corner), an optional "kind" ("WaterPlant" unless given) and an optional
// child "createInDragging" ("x", "y", "replyTo") that starts it under the mouse like a bought plant.
class TestFloorItem : public BottomControl {
public:
    TestFloorItem(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override;
    ObjectSmartPointer<XmlElement> SaveToXml() override;
    std::string GetKindName() override { return _kind; }
    float GetX() override { return static_cast<float>(_position.x); }
    float GetY() override { return static_cast<float>(_position.y - _groundLine); }
    float GetWidth() override { return static_cast<float>(_width) * GetScale(); }
    float GetHeight() override { return static_cast<float>(_height) * GetScale(); }
    bool IsUnderMouse() override;
    void OnText(const std::string& text) override;
    bool IsPointInside(int x, int y) override;

    const std::string& GetName() const { return _name; }
    bool IsSelling() const { return _isSelling; }
    bool IsBuyCancelling() const { return _isBuyCancelling; }
    bool IsOverTarget() const { return _isOverTarget; }

private:
    std::string _name;
    std::string _kind;
    int _width = 0;
    int _height = 0;
};

// The receiver names of the screen dispatcher in the tests' screens.
struct ScreenNames {
    static constexpr const char* tank = "1 Aquarium bottom";
    static constexpr const char* shopMover = "Shop mover";
    static constexpr const char* buyCancelMover = "Buy cancel mover";
    static constexpr const char* buyCancelTarget = "Buy cancel target";
    static constexpr const char* sellMover = "Sell mover";
    static constexpr const char* sellTarget = "Sell target";
    static constexpr const char* buyHelp = "Buy help";
    static constexpr const char* moveHelp = "Move help";
};

// The "controls" element of a dispatcher with the names above.
std::string DispatcherControlsXml();
// A dispatcher at (0, 0) holding the children.
std::string DispatcherXml(const std::string& children);
// A tank at (0, 100) of 800 x 400 units, named as above, with extra attributes and children.
std::string TankXml(const std::string& attributes, const std::string& children = "");
std::string TankItemXml(const std::string& name, const std::string& kind, int x, int y, float z, bool wish = false);
// A fog-enabled floor item "Fern" of 40 x 60 units with the icon "fern_icon".
std::string FloorItemXml(const std::string& name, int x, int y, const std::string& extra = "");

// One meter group of the utility dispatcher: cup levels and the tank's id as texts.
std::string MeterGroup(const std::string& kind, const std::string& bronze, const std::string& silver,
                       const std::string& gold, const std::string& tankId = "1");
// The shop's definitions for tank 1: the utility meters ("1 Utility dispatcher", sending to
// "<kind> bar", "<kind> full", "<kind> flash" and "Cups"), the purchase-hint server "Hints", and
// the fish shop entry "<tankFishId> dispatcher" (150 to buy, 75 to sell, utility 300, wish
// texture "gold_wish", sell dialog messages "<tankFishId> ok" and "<tankFishId> cancel").
std::string MetersXml();
// The shop's samples, registered once for all tests.
void AddShopSamples();
std::string HintServerXml(const std::string& threshold);
std::string FishEntryXml(const std::string& tankFishId, const std::string& fishTemplateName);

class AquariumTest : public pictures_test::PictureTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the screen and finds its tank.
    void BuildScreen(const std::string& rootControl);
    // A receiver kept until the end of the test.
    Receiver& AddReceiver(const std::string& name, bool active = false);
    // The screen's receivers of the dispatcher's names, the shop open or closed.
    void AddScreenReceivers(bool isShopOpen);
    // Registers a template made of the element text; all go at the end of the test.
    static void AddTemplate(const std::string& name, const std::string& text);
    void Send(const std::string& message) { SendMessage(ScreenNames::tank, message); }
    // The tank's children of the tests' classes by name; empty when there is none.
    ObjectWeakPointer<TestTankItem> Item(const std::string& name);
    ObjectWeakPointer<TestFloorItem> FloorItem(const std::string& name);
    std::vector<std::string> ChildNames();
    // The active player's tank state as text.
    std::string StoredState();

    ObjectWeakPointer<ZOrderControl> tank;
    std::vector<ObjectSmartPointer<Receiver>> receivers;

private:
    std::string _savedDataFolder;
};

}  // namespace aquarium_test
