// Water plants: the saved element rebuilt and saved again, the pixel hit test of every layer kind
// with mirroring, the sway of grids and rotating layers, fixed plants, the mirror request, and a
// plant dragged out of the shop that holds the mouse until it is placed.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "aquarium/ExtendedWaterPlantControl.h"
#include "aquarium/TankRecords.h"
#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "shell/SoundSystem.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "core/XmlOutText.h"
#include "core/XmlRead.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;

// 40 x 60 pictures: "weed" opaque on its left 20 columns, "stem" on its left 10.
const char* const STATIC_LAYER = "<static textureId=\"weed\" x=\"0\" y=\"0\"/>";

std::string PlantXml(const std::string& layers, int x, int y, const std::string& extra = "",
                     bool hasDisallowed = true) {
    return "<ExtendedWaterPlantControl canBeMirrored=\"true\"><position x=\"" + std::to_string(x) + "\" y=\"" +
           std::to_string(y) +
           "\"/><shopItem tankItemId=\"Fern\"/><ground groundLine=\"5\"/><fog enabled=\"false\"/>"
           "<icon textureId=\"fern_icon\"/><layers>" +
           layers + "</layers>" + (hasDisallowed ? "<disallowed centerX=\"20\" centerY=\"30\"/>" : "") + extra +
           "</ExtendedWaterPlantControl>";
}

std::string Text(const ObjectSmartPointer<XmlElement>& element, const std::string& path) {
    if (element == NULL) return "";
    {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        element->Write(out);
    }
    return testing_support::ReadFile(path);
}

// Stands for the shop's icon: takes the press and holds the mouse for one further move.
class ShopIconStandIn : public Control {
public:
    ShopIconStandIn(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : Control(parent, xml) {}
    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override {
        if (!event->IsMouseCaptured()) event->CaptureMouse();
    }
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent>) override {}
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override {
        if (!event->IsMouseCaptured()) return;
        if (Holding()) {
            event->ConfirmCapture();
        } else if (ExtraMoves() > 0) {
            --ExtraMoves();
            event->ConfirmCapture();
        }
    }
    void Draw() override {}
    void Update(float) override {}
    // Holds every move until the plant exists, then the given number more.
    static bool& Holding() {
        static bool holding = true;
        return holding;
    }
    static int& ExtraMoves() {
        static int extra = 0;
        return extra;
    }
};

// Stands for the shop entry the plant reports to: whether the tank would save the plant by the
// time it is told of the purchase (which it saves at once).
class PlacedWitness : public MessageReceiver {
public:
    explicit PlacedWitness(std::function<bool()> isSaved) : MessageReceiver("Plant buyer"), _isSaved(std::move(isSaved)) {}
    void OnMessage(std::string message) override { told.push_back(message + (_isSaved() ? " saved" : " unsaved")); }
    std::vector<std::string> told;

private:
    std::function<bool()> _isSaved;
};

class WaterPlantTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        if (!ControlFactory::IsControlRegistered("ShopIconStandIn")) {
            ControlFactory::RegisterControl("ShopIconStandIn", ControlFactory::Make<ShopIconStandIn>());
        }
        WritePicture("weed.png", 40, 60, 20);
        WritePicture("stem.png", 40, 60, 10);
        WritePicture("marker.png", 16, 16, 16);
        LoadResources(
            "<Textures upload=\"refcount\" storage=\"memory-keeping\"><texture id=\"weed\" path=\"weed.png\"/><texture id=\"stem\" path=\"stem.png\"/>"
            "<texture id=\"placement_disallowed\" path=\"marker.png\"/></Textures>");
    }
    void BuildTank(const std::string& layout) {
        AddScreenReceivers(true);
        AddReceiver("Shop icon");
        BuildScreen(DispatcherXml("<ShopIconStandIn><position x=\"0\" y=\"0\"/></ShopIconStandIn>" +
                                  TankXml("useStorage=\"false\"", "<defaultLayout>" + layout + "</defaultLayout>")));
        ASSERT_TRUE(tank != NULL);
    }
    ObjectWeakPointer<ExtendedWaterPlantControl> Plant(std::size_t index = 0) {
        std::size_t seen = 0;
        for (const ObjectSmartPointer<ZOrderClientControl>& child : tank->GetChildren()) {
            if (!child.InstanceOf<ExtendedWaterPlantControl>()) continue;
            if (seen++ == index) return ObjectWeakPointer<ExtendedWaterPlantControl>(child.Cast<ExtendedWaterPlantControl>());
        }
        return ObjectWeakPointer<ExtendedWaterPlantControl>();
    }
};

TEST_F(WaterPlantTest, SavedPlantIsRebuiltAndSavesTheSameElement) {
    LogCapture log;
    BuildScreen(DispatcherXml(TankXml("")));
    ASSERT_TRUE(tank != NULL);
    const std::string layers =
        "<mesh textureId=\"weed\" x=\"1\" y=\"2\" bottomStaticLine=\"10\" meshWidth=\"2\" meshHeight=\"3\" "
        "maxShift=\"4.0\"/>"
        "<rotation textureId=\"stem\" x=\"3\" y=\"4\" pivotX=\"5\" pivotY=\"6\" maxShift=\"20.0\" cyclic=\"false\"/>"
        "<flare textureId=\"weed\" x=\"0\" y=\"0\" flareLife=\"1.0\" flareOnce=\"false\" minFlarePause=\"2.0\" "
        "maxFlarePause=\"3.0\" beforeFirstFlare=\"5.0\"/>" +
        std::string(STATIC_LAYER);
    AddTemplate("Fern", PlantXml(layers, 100, 50));
    Send("add Fern");
    ASSERT_TRUE(Plant() != NULL);
    Frame(0.05f);
    Frame(0.05f);
    const std::string first = Text(Plant()->SaveToXml(), dir + "first.xml");
    ASSERT_FALSE(first.empty());
    // The flare keeps its remaining time: 5 - 0.1.
    EXPECT_NE(first.find("beforeFirstFlare=\"4.9"), std::string::npos) << first;
    EXPECT_NE(first.find("<mesh maxShift="), std::string::npos) << first;
    // Elements and attributes in the record's order.
    const char* const order[] = {"canBeMirrored=", "mirror=", "<position x=", "y=", "<shopItem tankItemId=", "<fog enabled=",
                                 "<ground groundLine=", "<icon textureId=", "<layers>",
                                 "<mesh maxShift=", "bottomStaticLine=", "meshWidth=", "meshHeight=", "textureId=\"weed\" x=",
                                 "<rotation maxShift=", "cyclic=", "pivotX=", "pivotY=", "textureId=\"stem\" x=",
                                 "<flare flareLife=", "flareOnce=", "minFlarePause=", "maxFlarePause=", "beforeFirstFlare=",
                                 "textureId=\"weed\" x=", "<static textureId=", "</layers>", "<disallowed centerX=", "centerY="};
    std::size_t at = 0;
    for (const char* token : order) {
        const std::size_t found = first.find(token, at);
        ASSERT_NE(found, std::string::npos) << token << " after " << at << " in " << first;
        at = found + 1;
    }

    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_TRUE(Plant() == NULL);
    PermanentStorage::SetActivePlayer("Ann");
    ASSERT_TRUE(Plant() != NULL);
    EXPECT_EQ(Plant()->GetLayers().size(), 4u);
    EXPECT_EQ(Plant()->GetLayers()[0].GetKind(), WaterPlantLayer::MESH);
    EXPECT_EQ(Plant()->GetLayers()[1].GetKind(), WaterPlantLayer::ROTATION);
    EXPECT_EQ(Plant()->GetLayers()[2].GetKind(), WaterPlantLayer::FLARE);
    EXPECT_EQ(Plant()->GetLayers()[3].GetKind(), WaterPlantLayer::STATIC);
    EXPECT_EQ(Text(Plant()->SaveToXml(), dir + "second.xml"), first);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(WaterPlantTest, HitTestAsksTheLayersPicturesWithMirrorAndRotation) {
    struct Case {
        const char* name;
        std::string layers;
        bool mirror;
        int dx, dy;
        bool hit;
    } cases[] = {
        {"static inside the opaque half", STATIC_LAYER, false, 5, 10, true},
        {"static in the transparent half", STATIC_LAYER, false, 30, 10, false},
        // The ground line (5) lifts the point into the picture.
        {"static below the picture, lifted by the ground line", STATIC_LAYER, false, 5, -3, true},
        {"static below the lifted picture", STATIC_LAYER, false, 5, -8, false},
        {"offset layer", "<static textureId=\"weed\" x=\"20\" y=\"0\"/>", false, 25, 10, true},
        {"offset layer, left of it", "<static textureId=\"weed\" x=\"20\" y=\"0\"/>", false, 15, 10, false},
        // Mirrored: dx becomes trunc(W / s) - dx = 40 - dx.
        {"mirrored transparent side", STATIC_LAYER, true, 5, 10, false},
        {"mirrored opaque side", STATIC_LAYER, true, 35, 10, true},
        {"second layer hits", std::string(STATIC_LAYER) + "<static textureId=\"stem\" x=\"30\" y=\"0\"/>", false, 35,
         10, true},
        // Unturned rotation: the pivot is added to the point.
        {"rotation shifted by its pivot", "<rotation textureId=\"stem\" x=\"0\" y=\"0\" pivotX=\"8\" pivotY=\"0\" "
         "maxShift=\"0.0\" cyclic=\"true\"/>", false, 1, 10, true},
        {"rotation shifted past its opaque part", "<rotation textureId=\"stem\" x=\"0\" y=\"0\" pivotX=\"8\" "
         "pivotY=\"0\" maxShift=\"0.0\" cyclic=\"true\"/>", false, 3, 10, false},
    };
    for (const Case& c : cases) {
        BuildTank(PlantXml(c.layers, 100, 50));
        ASSERT_TRUE(Plant() != NULL) << c.name;
        if (c.mirror) Plant()->OnText("mirror");
        EXPECT_EQ(Plant()->IsMirrored(), c.mirror) << c.name;
        EXPECT_EQ(Plant()->IsPointInside(c.dx, c.dy), c.hit) << c.name;
        tank = nullptr;
        container = nullptr;
        receivers.clear();
    }
}

TEST_F(WaterPlantTest, ExtentsAreDecidedByTheFirstLayerWithAPositiveSize) {
    BuildTank(PlantXml("<static textureId=\"weed\" x=\"-40\" y=\"-60\"/><static textureId=\"stem\" x=\"5\" y=\"7\"/>"
                       "<static textureId=\"weed\" x=\"100\" y=\"100\"/>",
                       100, 50) +
              PlantXml("<rotation textureId=\"stem\" x=\"2\" y=\"3\" pivotX=\"0\" pivotY=\"0\" maxShift=\"1.0\" "
                       "cyclic=\"false\"/>",
                       300, 50));
    EXPECT_FLOAT_EQ(Plant(0)->GetWidth(), 45.0f);
    EXPECT_FLOAT_EQ(Plant(0)->GetHeight(), 67.0f);
    EXPECT_FLOAT_EQ(Plant(1)->GetWidth(), 22.0f);
    EXPECT_FLOAT_EQ(Plant(1)->GetHeight(), 33.0f);
    EXPECT_EQ(Plant(0)->GetKindName(), "WaterPlant");
    EXPECT_FLOAT_EQ(Plant(0)->GetY(), 45.0f);
}

TEST_F(WaterPlantTest, GridSwaysLessUpAndDownAndRotationsStayInRange) {
    Random::Seed(11);
    BuildTank(PlantXml("<mesh textureId=\"weed\" x=\"0\" y=\"0\" bottomStaticLine=\"0\" meshWidth=\"2\" "
                       "meshHeight=\"3\" maxShift=\"6.0\"/>"
                       "<rotation textureId=\"stem\" x=\"0\" y=\"0\" pivotX=\"0\" pivotY=\"0\" maxShift=\"15.0\" "
                       "cyclic=\"false\"/>"
                       "<rotation textureId=\"stem\" x=\"0\" y=\"0\" pivotX=\"0\" pivotY=\"0\" maxShift=\"400.0\" "
                       "cyclic=\"true\"/>"
                       "<rotation textureId=\"stem\" x=\"0\" y=\"0\" pivotX=\"0\" pivotY=\"0\" maxShift=\"0.0\" "
                       "cyclic=\"true\"/>",
                       100, 50));
    for (int frame = 0; frame < 400; ++frame) {
        Frame(frame % 50 == 0 ? 0.0f : 0.05f);
        const std::vector<WaterPlantLayer>& layers = Plant()->GetLayers();
        TextureMesh& grid = *layers[0].meshes[0];
        for (int i = 0; i <= 2; ++i) {
            for (int j = 0; j <= 3; ++j) {
                const RandomCircleMotion& m = layers[0].motions[i][j];
                const FPoint p = grid.GetVertexPosition(i, j);
                const FPoint d = grid.GetVertexOffset(i, j);
                ASSERT_FLOAT_EQ(d._x, p._x + m.offsetX);
                ASSERT_FLOAT_EQ(d._y, p._y + 0.3f * m.offsetY);
                // The bottom row stands still, the top row sways with the whole shift.
                const float expected = 6.0f * std::sqrt(p._y / 60.0f);
                ASSERT_NEAR(m.radius, expected, 2e-3f) << i << "," << j;
            }
        }
        ASSERT_LE(std::fabs(layers[1].angle), 15.0f + 1e-3f);
        ASSERT_GE(layers[2].angle, 0.0f);
        ASSERT_LT(layers[2].angle, 360.0f);
        ASSERT_FLOAT_EQ(layers[3].angle, 0.0f);
    }
}

// However it is made, a plant draws at most MAX_PLANT_CELLS pictures: a mesh finer than a layer
// may be is cut and the layers past the budget are left out, each with one report; a tank refuses
// such a plant outright, as a record and as goods.
TEST_F(WaterPlantTest, APlantFinerThanATankTakesIsCutOrRefusedWithOneReport) {
    BuildTank("");
    const std::string mesh = "<mesh textureId=\"weed\" x=\"0\" y=\"0\" bottomStaticLine=\"0\" maxShift=\"6.0\" ";
    std::string layers = mesh + "meshWidth=\"2000\" meshHeight=\"2000\"/>";
    for (int i = 0; i < 12; ++i) layers += mesh + "meshWidth=\"2\" meshHeight=\"4\"/>";
    const std::string text = PlantXml(layers, 100, 50);
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    LogCapture log;
    const ObjectSmartPointer<Control> made =
        ControlFactory::CreateControl(ObjectWeakPointer<Control>(tank), document->GetRoot());
    ASSERT_TRUE(made.InstanceOf<ExtendedWaterPlantControl>());
    const std::vector<WaterPlantLayer>& drawn = made.Cast<ExtendedWaterPlantControl>()->GetLayers();
    int cells = 0;
    for (const WaterPlantLayer& layer : drawn) cells += layer.meshes[0]->_columns * layer.meshes[0]->_rows;
    EXPECT_EQ(TankLimits::MAX_PLANT_CELLS, cells);
    EXPECT_EQ(TankLimits::MAX_MESH_CELLS, drawn[0].meshes[0]->_columns * drawn[0].meshes[0]->_rows);
    EXPECT_EQ(1 + (TankLimits::MAX_PLANT_CELLS - TankLimits::MAX_MESH_CELLS) / 8, static_cast<int>(drawn.size()));
    EXPECT_EQ(2, log.ErrorCount()) << log.Text();

    AddTemplate("HugeFern", text);
    EXPECT_EQ("false", SendMessageReply(ScreenNames::tank, "add HugeFern"));
    EXPECT_TRUE(Plant() == NULL);
    EXPECT_TRUE(log.Contains("'meshWidth' of &lt;mesh&gt; is out of range") ||
                log.Contains("'meshWidth' of <mesh> is out of range"))
        << log.Text();
    document->GetRoot()->MarkVisitedTree();
}

TEST_F(WaterPlantTest, FixedPlantIgnoresTheMouseAndIsNotSaved) {
    BuildTank(PlantXml(STATIC_LAYER, 100, 50, "", false));
    ASSERT_TRUE(Plant() != NULL);
    EXPECT_TRUE(Plant()->IsFixed());
    EXPECT_TRUE(Plant()->SaveToXml() == NULL);
    Move(105, 160);
    Down(105, 160);
    EXPECT_FALSE(Plant()->IsInDragging());
    Up(105, 160);
}

TEST_F(WaterPlantTest, MirrorRequestFlipsOrIsRefusedWithASound) {
    BuildTank(PlantXml(STATIC_LAYER, 100, 50) +
              "<ExtendedWaterPlantControl><position x=\"200\" y=\"50\"/><shopItem tankItemId=\"Fern\"/>"
              "<ground groundLine=\"5\"/><fog enabled=\"false\"/><icon textureId=\"fern_icon\"/><layers>" +
              STATIC_LAYER + "</layers><disallowed centerX=\"1\" centerY=\"1\"/></ExtendedWaterPlantControl>");
    static bool isSampleAdded = false;
    if (!isSampleAdded) {
        Sound::soundSystem.AddSample("not_allow", "not_allow.wav", 4);
        isSampleAdded = true;
    }
    Played();
    Plant(0)->OnText("mirror");
    Plant(0)->OnText("mirror");
    Plant(0)->OnText("shake");
    EXPECT_FALSE(Plant(0)->IsMirrored());
    EXPECT_TRUE(Played().empty());
    Plant(1)->OnText("mirror");
    EXPECT_FALSE(Plant(1)->IsMirrored());
    EXPECT_EQ(Played().size(), 1u);
}

TEST_F(WaterPlantTest, PlantDraggedFromTheShopHoldsTheMouseUntilPlaced) {
    LogCapture log;
    BuildTank("");
    AddTemplate("NewFern", PlantXml(STATIC_LAYER, 0, 0, "<createInDragging x=\"300\" y=\"250\" replyTo=\"Plant buyer\"/>"));
    PlacedWitness buyer([this]() {
        const ObjectSmartPointer<XmlElement> saved = Plant() != NULL ? Plant()->SaveToXml() : nullptr;
        if (saved != NULL) saved->MarkVisitedTree();
        return saved != NULL;
    });
    Move(300, 250);
    ShopIconStandIn::Holding() = true;
    Down(300, 250);  // the shop's icon takes the press
    Send("add NewFern");
    ShopIconStandIn::Holding() = false;
    ShopIconStandIn::ExtraMoves() = 1;
    ASSERT_TRUE(Plant() != NULL);
    // Centred under the mouse: 40 x 60 at depth scale 1.
    EXPECT_EQ(Plant()->GetAbsolutePos(), Point(280, 220));
    EXPECT_TRUE(Plant()->IsInDragging());
    EXPECT_TRUE(Plant()->IsNewItem());
    EXPECT_TRUE(Plant()->SaveToXml() == NULL);
    Move(300, 250);  // the icon holds this one
    Move(320, 260);
    EXPECT_TRUE(container->IsMouseCaptured());
    Up(320, 260);
    ASSERT_TRUE(Plant() != NULL);
    EXPECT_FALSE(Plant()->IsInDragging());
    EXPECT_FALSE(Plant()->IsNewItem());
    EXPECT_EQ(buyer.told, std::vector<std::string>{"placed saved"});
    const ObjectSmartPointer<XmlElement> saved = Plant()->SaveToXml();
    ASSERT_TRUE(saved != NULL);
    saved->MarkVisitedTree();
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
