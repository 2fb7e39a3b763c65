#include "tests/aquarium/AquariumTestSupport.h"

#include <algorithm>

#include "aquarium/AquariumClasses.h"
#include "aquarium/TankRecords.h"
#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/DataFolder.h"
#include "core/Float.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "core/XmlOutText.h"
#include "core/XmlRead.h"
#include "shell/SoundSystem.h"
#include "tests/support/TestSupport.h"

namespace aquarium_test {

std::vector<std::string>& Trace() {
    static std::vector<std::string> trace;
    return trace;
}

std::vector<std::string> TraceOf(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& entry : Trace()) {
        if (entry.compare(0, prefix.size(), prefix) == 0) found.push_back(entry);
    }
    return found;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

void Receiver::OnMessage(std::string message) {
    Trace().push_back(GetReceiverName() + " < " + message);
    if (onMessage) onMessage(message);
}

std::string Receiver::OnMessageReply(std::string message) {
    if (message == "Is active?") return active ? "true" : "false";
    return MessageReceiver::OnMessageReply(message);
}

// The plain test item.

TestTankItem::TestTankItem(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : ZOrderClientControl(parent, xml) {
    name = xml->GetStringAttribute("name");
    kind = xml->GetStringAttribute("kind");
    z = xml->GetFloatAttribute("z");
    width = xml->GetIntAttribute("width");
    height = xml->GetIntAttribute("height");
    wish = xml->GetBoolAttribute("wish");
    Trace().push_back(name + " made");
}

void TestTankItem::Draw() { Trace().push_back(name + " draw"); }

void TestTankItem::Update(float) {
    Trace().push_back(name + " update");
    if (leaves) {
        const ObjectWeakPointer<ZOrderControl> tank = FindTank(*this);
        if (tank != NULL) tank->RemoveFish(this);
    }
}

ObjectSmartPointer<XmlElement> TestTankItem::SaveToXml() {
    if (!isSaved) return ObjectSmartPointer<XmlElement>();
    ObjectSmartPointer<XmlElement> element(new XmlElement("TestTankItem"));
    ObjectSmartPointer<XmlElement> position(new XmlElement("position"));
    position->SetIntAttribute("x", _position.x);
    position->SetIntAttribute("y", _position.y);
    element->AppendChild(position);
    element->SetStringAttribute("name", name);
    element->SetStringAttribute("kind", kind);
    element->SetFloatAttribute("z", z);
    element->SetIntAttribute("width", width);
    element->SetIntAttribute("height", height);
    element->SetBoolAttribute("wish", wish);
    return element;
}

void TestTankItem::OnSellingCancelled() { Trace().push_back(name + " selling cancelled"); }
void TestTankItem::OnSellingDone() { Trace().push_back(name + " selling done"); }
void TestTankItem::TryStartSchool() { Trace().push_back(name + " school"); }

bool TestTankItem::MakeWish() {
    Trace().push_back(name + " wish" + (PermanentStorage::GetLocalBool("FirstFishWish") ? " first" : ""));
    return wish;
}

void TestTankItem::StopStudy() { Trace().push_back(name + " stop study"); }

void TestTankItem::Sell() {
    Trace().push_back(name + " sold");
    kind += "Sold";
}

void TestTankItem::OnText(const std::string& text) { Trace().push_back(name + " text " + text); }

// The floor test item.

TestFloorItem::TestFloorItem(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : BottomControl(parent, xml) {
    _name = xml->GetStringAttribute("name");
    _kind = xml->GetStringAttributeOrDef("kind", "WaterPlant");
    _width = xml->GetIntAttribute("width");
    _height = xml->GetIntAttribute("height");
    const ObjectWeakPointer<XmlElement> dragging = xml->GetFirstChildElement("createInDragging");
    if (dragging != NULL) {
        const Point m(dragging->GetIntAttribute("x"), dragging->GetIntAttribute("y"));
        SetMousePos(m);
        _replyTo = dragging->GetStringAttribute("replyTo");
        // Centred under the mouse, measured again where the first placing put it.
        for (int i = 0; i < 2; ++i) {
            const int floor = GetParent()->GetAbsolutePos().y + _groundLine + 20;
            SetAbsolutePos(Point(m.x + static_cast<int>(GetWidth() / -2.0f),
                                 std::max(m.y + static_cast<int>(GetHeight() / -2.0f), floor)));
        }
        ObjectSmartPointer<MouseDownEvent> down(new MouseDownEvent(false));
        OnMouseDown(ObjectWeakPointer<MouseDownEvent>(down));
        EXPECT_TRUE(down->IsMouseCaptured());
    }
}

void TestFloorItem::Draw() { Trace().push_back(_name + " draw"); }

ObjectSmartPointer<XmlElement> TestFloorItem::SaveToXml() {
    if (IsNewItem()) return ObjectSmartPointer<XmlElement>();
    ObjectSmartPointer<XmlElement> element(new XmlElement("TestFloorItem"));
    SaveCommon(element);
    element->SetStringAttribute("name", _name);
    element->SetIntAttribute("width", _width);
    element->SetIntAttribute("height", _height);
    return element;
}

bool TestFloorItem::IsUnderMouse() {
    const Point d = GetMousePos() - GetAbsolutePos();
    return IsPointInside(d.x, d.y);
}

void TestFloorItem::OnText(const std::string& text) { Trace().push_back(_name + " text " + text); }

bool TestFloorItem::IsPointInside(int x, int y) { return 0 <= x && x < _width && 0 <= y && y < _height; }

// Screens.

std::string DispatcherControlsXml() {
    return std::string("<controls shopMoverName=\"") + ScreenNames::shopMover + "\" buyCancelMoverName=\"" +
           ScreenNames::buyCancelMover + "\" buyCancelTargetName=\"" + ScreenNames::buyCancelTarget +
           "\" sellMoverName=\"" + ScreenNames::sellMover + "\" sellTargetName=\"" + ScreenNames::sellTarget +
           "\" buyMouseHelpName=\"" + ScreenNames::buyHelp + "\" moveMouseHelpName=\"" + ScreenNames::moveHelp +
           "\"/>";
}

std::string DispatcherXml(const std::string& children) {
    return "<AquariumDispatcherControl><position x=\"0\" y=\"0\"/>" + DispatcherControlsXml() + "<children>" +
           children + "</children></AquariumDispatcherControl>";
}

std::string TankXml(const std::string& attributes, const std::string& children) {
    return "<ZOrderControl minZ=\"0.3\" minY=\"0\" maxY=\"400\" minX=\"0\" maxX=\"800\" " + attributes +
           "><position x=\"0\" y=\"100\"/><messageReceiver name=\"" + ScreenNames::tank + "\"/>" + children +
           "</ZOrderControl>";
}

std::string TankItemXml(const std::string& name, const std::string& kind, int x, int y, float z, bool wish) {
    return "<TestTankItem name=\"" + name + "\" kind=\"" + kind + "\" z=\"" + Float::ToString(z) +
           "\" width=\"10\" height=\"10\" wish=\"" + (wish ? "true" : "false") + "\"><position x=\"" +
           std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"/></TestTankItem>";
}

std::string FloorItemXml(const std::string& name, int x, int y, const std::string& extra) {
    return "<TestFloorItem name=\"" + name + "\" width=\"40\" height=\"60\"><position x=\"" + std::to_string(x) +
           "\" y=\"" + std::to_string(y) +
           "\"/><shopItem tankItemId=\"Fern\"/><ground groundLine=\"5\"/><fog enabled=\"true\"/>"
           "<icon textureId=\"fern_icon\"/>" +
           extra + "</TestFloorItem>";
}

// The shop.

// Cup levels and the tank's id are texts, so that the catalogue's template can hold parameters.
std::string MeterGroup(const std::string& kind, const std::string& bronze, const std::string& silver,
                       const std::string& gold, const std::string& tankId) {
    return "<" + kind + " bronzeCupLevel=\"" + bronze + "\" silverCupLevel=\"" + silver + "\" goldCupLevel=\"" +
           gold + "\" utilityLevelVariable=\"" + tankId + " " + kind + " level\" indicatorVariable=\"" + tankId +
           " " + kind + " indicator\" percentVariable=\"" + tankId + " " + kind + " percent\" percentColorVariable=\"" +
           tankId + " " + kind + " color\" indicatorName=\"" + kind + " bar\" effect100=\"" + kind +
           " full\" flash=\"" + kind + " flash\"/>";
}

void AddShopSamples() {
    static bool isAdded = false;
    if (isAdded) return;
    isAdded = true;
    for (const char* sample : {"fish_buy", "beauty_buy", "pump_buy", "pump_up", "fish_sell", "beauty_sell",
                               "beauty_cancel", "counter", "tip_show"}) {
        Sound::soundSystem.AddSample(sample, std::string(sample) + ".wav", 4);
    }
}

std::string MetersXml() {
    return "<UtilityDispatcherDefinition><messageReceiver name=\"1 Utility dispatcher\"/>"
           "<cup variableName=\"1 Cup\"/><wonCup receiver=\"Cups\" message=\"won\"/>"
           "<first100Percents receiver=\"Cups\" message=\"full \"/>" +
           MeterGroup("fish", "10", "20", "30") + MeterGroup("beauty", "10", "20", "30") +
           MeterGroup("comfort", "10", "20", "30") +
           "</UtilityDispatcherDefinition>";
}

std::string HintServerXml(const std::string& threshold) {
    return "<BuyHintServerDefinition><messageReceiver name=\"Hints\"/>"
           "<variables fish=\"1 fish indicator\" beauty=\"1 beauty indicator\" comfort=\"1 comfort indicator\"/>"
           "<threshold value=\"" + threshold + "\"/></BuyHintServerDefinition>";
}

std::string FishEntryXml(const std::string& tankFishId, const std::string& fishTemplateName) {
    return "<FishIconDispatcherDefinition><messageReceiver name=\"" + tankFishId + " dispatcher\"/>"
           "<SpecialMessage messagesFileName=\"tips.xml\" textWidth=\"200\" x=\"300\" y=\"400\" visibleTime=\"2.0\"/>"
           "<fish tankId=\"1\" tankFishId=\"" + tankFishId + "\" playerBuyCost=\"150\" playerSellCost=\"75\" "
           "fishTemplateName=\"" + fishTemplateName + "\" wishTextureId=\"gold_wish\"/>"
           "<sellDialog okMessage=\"" + tankFishId + " ok\" cancelMessage=\"" + tankFishId + " cancel\"/>"
           "<utility value=\"300\" receiver=\"1 Utility dispatcher\" buyHintServer=\"Hints\"/>"
           "<tutorialPurchase receiver=\"Tutorial\" message=\"bought\"/></FishIconDispatcherDefinition>";
}

// The fixture.

void AquariumTest::SetUp() {
    PictureTest::SetUp();
    _savedDataFolder = dataFolder;
    dataFolder = dir;
    testing_support::WriteFile(dir + "Storage.xml",
                               "<Storage><Globals/><Player name=\"Ann\"/><Player name=\"Bob\"/>"
                               "<ActivePlayer name=\"Ann\"/></Storage>");
    testing_support::WriteFile(dir + "ini.xml", "<ini/>");
    PermanentStorage::Load();
    RegisterAquariumClasses();
    if (!ControlFactory::IsControlRegistered("TestTankItem")) {
        ControlFactory::RegisterControl("TestTankItem", ControlFactory::Make<TestTankItem>());
        ControlFactory::RegisterControl("TestFloorItem", ControlFactory::Make<TestFloorItem>());
        TankItemRecords::Register("TestTankItem", false);
        TankItemRecords::Register("TestFloorItem", true);
    }
    Trace().clear();
}

void AquariumTest::TearDown() {
    tank = nullptr;
    container = nullptr;
    receivers.clear();
    TemplateLib::RemoveAllTemplates();
    if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
    dataFolder = _savedDataFolder;
    Trace().clear();
    PictureTest::TearDown();
}

void AquariumTest::BuildScreen(const std::string& rootControl) {
    Build(rootControl);
    const ObjectWeakPointer<MessageReceiver> receiver =
        IsReceiver(ScreenNames::tank) ? MessageServer::GetReceiver(ScreenNames::tank)
                                      : ObjectWeakPointer<MessageReceiver>();
    tank = receiver.Cast<ZOrderControl>();
}

void AquariumTest::AddTemplate(const std::string& name, const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    TemplateLib::AddTemplate(ObjectSmartPointer<XmlElement>(new XmlElement(document->GetRoot())), name);
}

Receiver& AquariumTest::AddReceiver(const std::string& name, bool active) {
    receivers.push_back(ObjectSmartPointer<Receiver>(new Receiver(name)));
    receivers.back()->active = active;
    return *receivers.back();
}

void AquariumTest::AddScreenReceivers(bool isShopOpen) {
    if (isShopOpen) AddReceiver(ScreenNames::shopMover);
    for (const char* name : {ScreenNames::buyCancelMover, ScreenNames::buyCancelTarget, ScreenNames::sellMover,
                             ScreenNames::sellTarget, ScreenNames::buyHelp, ScreenNames::moveHelp,
                             "Main screen blue panel mover", "Main screen bottom panel mover"}) {
        AddReceiver(name);
    }
}

ObjectWeakPointer<TestTankItem> AquariumTest::Item(const std::string& name) {
    for (const ObjectSmartPointer<ZOrderClientControl>& child : tank->GetChildren()) {
        if (child.InstanceOf<TestTankItem>() && child.Cast<TestTankItem>()->name == name) {
            return ObjectWeakPointer<TestTankItem>(child.Cast<TestTankItem>());
        }
    }
    return ObjectWeakPointer<TestTankItem>();
}

ObjectWeakPointer<TestFloorItem> AquariumTest::FloorItem(const std::string& name) {
    for (const ObjectSmartPointer<ZOrderClientControl>& child : tank->GetChildren()) {
        if (child.InstanceOf<TestFloorItem>() && child.Cast<TestFloorItem>()->GetName() == name) {
            return ObjectWeakPointer<TestFloorItem>(child.Cast<TestFloorItem>());
        }
    }
    return ObjectWeakPointer<TestFloorItem>();
}

std::vector<std::string> AquariumTest::ChildNames() {
    std::vector<std::string> names;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : tank->GetChildren()) {
        if (child.InstanceOf<TestTankItem>()) {
            names.push_back(child.Cast<TestTankItem>()->name);
        } else if (child.InstanceOf<TestFloorItem>()) {
            names.push_back(child.Cast<TestFloorItem>()->GetName());
        }
    }
    return names;
}

std::string AquariumTest::StoredState() {
    const std::string path = dir + "state.xml";
    {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        PermanentStorage::GetLocalXml(ScreenNames::tank)->Write(out);
    }
    return testing_support::ReadFile(path);
}

}  // namespace aquarium_test
