#include "tests/aquarium/FishTestSupport.h"

#include "aquarium/FishTrajectory.h"
#include "content/ParticleLibrary.h"
#include "core/Float.h"
#include "core/XmlElement.h"
#include "core/XmlOutText.h"
#include "tests/support/TestSupport.h"

namespace aquarium_test {

namespace {

// The motion values of an ordinary test fish.
const Attributes ORDINARY = {
    {"acceleration", "100.0"}, {"accTime", "1.0"}, {"maxAngle", "0.3"}, {"maxPause", "3.0"},
    {"minPause", "1.0"},       {"minAction", "8"}, {"minSpeed", "60.0"}, {"school", "0.0"},
    {"race", "0.5"},           {"curiosity", "0.0"},
};

std::string PointXml(const char* name, const TrajectoryPoint& p) {
    return std::string("<") + name + " x=\"" + Float::ToString(p.x) + "\" y=\"" + Float::ToString(p.y) + "\" z=\"" +
           std::to_string(p.depth) + "\"/>";
}

// Packed frames that all show the whole test picture.
std::string PackedFrames(int count, int width, int height) {
    std::string text = "<PackedAnimation count=\"" + std::to_string(count) + "\">";
    for (int i = 0; i < count; ++i) {
        text += "<frame x=\"0\" y=\"0\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
                "\" frameWidth=\"" + std::to_string(width) + "\" frameHeight=\"" + std::to_string(height) +
                "\" innerX=\"0\" innerY=\"0\"/>";
    }
    return text + "</PackedAnimation>";
}

}  // namespace

TrajectoryPoint At(float x, float y, int depth) {
    TrajectoryPoint p;
    p.x = x;
    p.y = y;
    p.depth = depth;
    return p;
}

std::string FishElementXml(const std::string& kind, const Attributes& info, const std::string& state) {
    Attributes all = ORDINARY;
    for (const auto& a : info) all[a.first] = a.second;
    const bool isSeaHorse = all.count("hippocampus") != 0 && all["hippocampus"] == "true";
    std::string text = "<FishControl><position x=\"0\" y=\"0\"/><animations side=\"fish_side\" front=\"fish_front\" "
                       "back=\"fish_back\" shadow=\"fish_shadow\"";
    if (isSeaHorse) text += " jump=\"fish_jump\"";
    text += "/><fishInfo templateId=\"" + kind + "\"";
    for (const auto& a : all) text += " " + a.first + "=\"" + a.second + "\"";
    return text + "/>" + state + "</FishControl>";
}

std::string FishStateXml(const TrajectoryPoint& position, const TrajectoryPoint& dest, const TrajectoryPoint& old,
                         float angle, int stateId, const std::string& extra) {
    return "<state isObject=\"false\" stateId=\"" + std::to_string(stateId) + "\" angle=\"" + Float::ToString(angle) +
           "\" turnTime=\"0.0\" nFrame=\"0\"" + extra + ">" + PointXml("position", position) +
           PointXml("currentDest", dest) + PointXml("oldDest", old) + "</state>";
}

std::string ElementText(const ObjectWeakPointer<XmlElement>& element) {
    if (element == NULL) return std::string();
    ObjectSmartPointer<XmlOutText> out(new XmlOutText("element.xml"));
    element->Write(out);
    const std::string text = out->GetBuffer();
    out->Close();
    return text;
}

void FishTest::SetUp() {
    AquariumTest::SetUp();
    WritePicture("fish.png", FRAME_WIDTH, FRAME_HEIGHT, FRAME_WIDTH / 2);
    testing_support::WriteFile(dir + "fish.xml", PackedFrames(4, FRAME_WIDTH, FRAME_HEIGHT));
    WritePicture("small.png", 8, 8, 8);
    std::string animations;
    for (const char* id : {"fish_side", "fish_front", "fish_back", "fish_jump"}) {
        animations += std::string("<PackedOneTextureAnimation id=\"") + id +
                      "\"><texture upload=\"refcount\" storage=\"memory-keeping\" path=\"fish.png\"/>"
                      "</PackedOneTextureAnimation>";
    }
    std::string textures;
    for (const char* id : {"fish_shadow", "bubble_blue", "cloud_red", "cloud_red_1", "cloud_red_2", "cloud_green",
                           "cloud_green_1", "cloud_green_2", "cloud_purple", "cloud_purple_1", "cloud_purple_2",
                           "gold_wish", "fern_icon"}) {
        textures += std::string("<texture id=\"") + id + "\" path=\"small.png\"/>";
    }
    LoadResources("<Textures upload=\"refcount\" storage=\"memory-keeping\">" + textures + "</Textures><Animations>" +
                  animations + "</Animations>");
    testing_support::WriteFile(dir + "fx.xml", "<Effects><Effect name=\"BubblesFishPath\"/><Effect name=\"LoveIsEffect\"/>"
                                               "<Effect name=\"FastHearts\"/></Effects>");
    GetParticleLibrary().LoadEffects(dir + "fx.xml");
}

void FishTest::TearDown() {
    tank = nullptr;
    container = nullptr;
    GetParticleLibrary().Clear();
    AquariumTest::TearDown();
    // Every fish is gone, and so is every depth it held.
    for (int depth = 0; depth < FishDepthTable::DEPTH_COUNT; ++depth) {
        EXPECT_EQ(0, FishDepthTable::HolderCount(depth)) << depth;
    }
}

void FishTest::BuildTank(const std::string& layout, bool gameMode, const std::string& attributes) {
    tank = nullptr;
    container = nullptr;
    BuildScreen(DispatcherXml(TankXml(std::string("useStorage=\"false\" gameMode=\"") + (gameMode ? "true" : "false") +
                                          "\" " + attributes,
                                      "<defaultLayout>" + layout + "</defaultLayout>")));
}

std::vector<ObjectWeakPointer<FishControl>> FishTest::Fish() {
    std::vector<ObjectWeakPointer<FishControl>> fish;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : tank->GetChildren()) {
        if (child.InstanceOf<FishControl>()) fish.push_back(ObjectWeakPointer<FishControl>(child.Cast<FishControl>()));
    }
    return fish;
}

ObjectWeakPointer<FishControl> FishTest::FirstFish() {
    const std::vector<ObjectWeakPointer<FishControl>> fish = Fish();
    return fish.empty() ? ObjectWeakPointer<FishControl>() : fish.front();
}

void FishTest::Run(int n, float dt) {
    for (int i = 0; i < n; ++i) tank->Update(dt);
}

}  // namespace aquarium_test
