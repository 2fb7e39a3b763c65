#include "tests/match3/FieldTestSupport.h"

#include <filesystem>

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/Random.h"
#include "core/XmlRead.h"
#include "platform/render/PngFile.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"
#include "tests/support/TestSupport.h"

namespace field_test {

namespace {

ObjectSmartPointer<XmlElement> Parse(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    return ObjectSmartPointer<XmlElement>(new XmlElement(document->GetRoot()));
}

void WriteSheet(const std::string& path, int frames) {
    render_layer::PngPicture picture;
    picture.width = 8 * 42;
    picture.height = static_cast<unsigned>((frames + 7) / 8 * 42);
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, 0xFF80A0C0u);
    std::string error;
    ASSERT_TRUE(render_layer::WritePng(path, picture, true, &error)) << error;
}

std::string FieldResources() {
    std::string text = "<Resources><Fonts><font name=\"white_text_14\" aliasOf=\"20_scores\"/></Fonts>"
                       "<Textures upload=\"refcount\" storage=\"memory-keeping\">"
                       "<texture id=\"timer_shine\" path=\"glow.png\"/></Textures><Animations>";
    for (int c = 1; c < 9; ++c) {
        text += "<OneTextureAnimation id=\"chip_anim" + std::to_string(c) +
                "\" frameWidth=\"42\" frameHeight=\"42\" count=\"72\"><texture upload=\"refcount\" "
                "storage=\"memory-keeping\" path=\"chips.png\"/></OneTextureAnimation>";
    }
    for (const char* id : {"fire_cracker_ani", "black_bomb_ani", "dynamit_ani", "nuke_ani", "lightning_ani"}) {
        text += std::string("<OneTextureAnimation id=\"") + id +
                "\" frameWidth=\"42\" frameHeight=\"42\" count=\"32\"><texture upload=\"refcount\" "
                "storage=\"memory-keeping\" path=\"bonus.png\"/></OneTextureAnimation>";
    }
    return text + "</Animations></Resources>";
}

const char* const HINT_TEMPLATE = R"(<FixedChildrenListControl><position x="[x]" y="[y]"/><children>
  <StaticTextControl><position x="[textX]" y="[textY]"/><div fontName="white_text_14"><_text_/></div></StaticTextControl>
</children></FixedChildrenListControl>)";

// Registered after the effect tests' four, so their handles count on from 105.
const char* const FIELD_SAMPLES[] = {"lightning", "bomb2", "item_wrong", "item_success", "item_fall"};

}  // namespace

const char* const DEFAULT_LEVELS = R"(<Levels>
  <Level id="One" time="100"><Line>AAAAAA</Line><Line>aaaaaa</Line><Line>aaaaaa</Line><Line>dddddd</Line><Line>aaaaaa</Line><Line>aaaaaa</Line></Level>
  <Level id="Two" time="100"><Line>AAA</Line><Line>ddd</Line><Line>aaa</Line></Level>
  <Level id="Three" time="100"><Line>AAA</Line><Line>ggg</Line><Line>aaa</Line></Level>
</Levels>)";

void TraceReceiver::OnMessage(std::string message) {
    _trace.push_back(GetReceiverName() + " < " + message);
    if (onMessage) onMessage(message);
}

void FieldTest::SetUp() {
    EffectTest::SetUp();
    WriteSheet(dir + "chips.png", 72);
    WriteSheet(dir + "bonus.png", 32);
    // chip_anim0 of the effect tests has one frame; the field's pieces need 72.
    ResourceManager::LoadResources(Parse(FieldResources()));
    WriteLevels(DEFAULT_LEVELS);
    WriteChipSets("<ChipSets><set chips=\"123\"/></ChipSets>");
    testing_support::WriteFile(dir + "GameplayCost.xml",
                               "<GameplayCost><paintScores clearMatch3=\"10\" silver=\"10\" golden=\"25\" "
                               "krugMoneyAddon=\"100\" lightningClear=\"15\" blackBombClear=\"10\" lock=\"20\" doubleLock=\"50\"/></GameplayCost>");
    std::filesystem::create_directory(dir + "local");
    testing_support::WriteFile(dir + "local/FieldHints.xml",
                               "<FieldHints><clear>Clear it</clear><first>Swap two</first>"
                               "<double>Gold &amp; &lt;more&gt;</double><empty></empty></FieldHints>");
    TemplateLib::AddTemplate(Parse(HINT_TEMPLATE), "GameFieldHintTemplate");
    for (const char* name : {"GameFieldScreen", "FieldHurryUpScreen", "Game field modal dialog",
                             "Statistics modal dialog", "fieldReminder", "GameFieldHint", "Exit"}) {
        receivers.push_back(std::make_unique<TraceReceiver>(name, trace));
    }
    PermanentStorage::SetLocalInt("Lap Number", 1);
    for (const char* name : FIELD_SAMPLES) {
        Sound::soundSystem.AddSample(name, std::string(name) + ".wav", 2);
    }
    audio.ClearCalls();
}

void FieldTest::TearDown() {
    field = ObjectSmartPointer<ZovGameFieldControl>();
    receivers.clear();
    TemplateLib::RemoveAllTemplates();
    EffectTest::TearDown();
}

void FieldTest::WriteLevels(const std::string& levels) { testing_support::WriteFile(dir + "PlLevels.xml", levels); }

void FieldTest::WriteChipSets(const std::string& sets) { testing_support::WriteFile(dir + "ChipSets.xml", sets); }

void FieldTest::MakeField(const std::string& extraAttributes, const std::string& extraChildren,
                          const Point& home, unsigned seed) {
    const std::string xml = "<ZovGameFieldControl " + extraAttributes + "><position x=\"" +
                            std::to_string(home.x) + "\" y=\"" + std::to_string(home.y) +
                            "\"/><messageReceiver name=\"GameField\"/>"
                            "<GameTimeCounter hideProcess=\"0.2\" minScale=\"0.5\"><position x=\"700\" y=\"100\"/>"
                            "</GameTimeCounter>"
                            "<toExit receiver=\"Exit\" message=\"exit\"/>"
                            "<startTime fieldStart=\"0.0\" readyGoEffectStart=\"0.0\"/>"
                            "<receivers hidePanelId=\"Exit\" scoreId=\"FieldScore\" moneyId=\"FieldMoney\" "
                            "levelId=\"FieldLevel\"/>" +
                            extraChildren + "</ZovGameFieldControl>";
    ObjectSmartPointer<XmlElement> element = Parse(xml);
    // The field seeds its boards from the program's generator, as a run started with a seed does.
    Random::Seed(seed);
    try {
        field = ObjectSmartPointer<ZovGameFieldControl>(new ZovGameFieldControl(ObjectWeakPointer<Control>(), element));
    } catch (const AssertionFailedException& e) {
        FAIL() << e.GetText();
    }
}

void FieldTest::Load(const std::string& name) {
    std::string levelName = name;
    ASSERT_TRUE(field->LoadLevel(levelName));
    field->FinishAppearance();
    Run(0.1f, 30);
}

void FieldTest::Paint(const std::vector<std::string>& rows) {
    GameBoard& board = field->Board();
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const int cx = static_cast<int>(x);
            const int cy = static_cast<int>(y);
            FieldCell& cell = board.Cell(cx, cy);
            const char c = rows[y][x];
            field->Pieces().Stop(cx, cy);
            cell._bonus = NO_BONUS;
            if (c == '#') {
                cell._color = NO_CELL;
            } else if (c == '.') {
                cell._color = EMPTY_CELL;
            } else if (c >= '0' && c <= '8') {
                cell._color = c - '0';
                field->Pieces().SetChipPicture(cx, cy, cell._color);
            } else {
                const int kind = c == 'L' ? LIGHTNING : c == 'B' ? BLACK_BOMB : FIRE_CRACKER;
                cell._bonus = kind;
                cell._color = kind + BONUS_COLOR_BASE;
                field->Pieces().SetBonusPicture(cx, cy, kind);
            }
        }
    }
    board.SetHasMove(board.FindAvailableMove());
}

Point FieldTest::CellPoint(int x, int y, int dx, int dy) {
    const BoardPoint c = field->Board().CellCentre(x, y);
    return Point(c.x + dx, c.y + dy);
}

void FieldTest::Move(const Point& p, bool isCaptured) {
    ObjectSmartPointer<MouseMoveEvent> e(new MouseMoveEvent(p.x, p.y, isCaptured));
    field->OnMouseMove(e);
    if (isCaptured && !e->IsCaptureConfirmed()) captured = false;
}

void FieldTest::Press(const Point& p) {
    Move(p, captured);
    ObjectSmartPointer<MouseDownEvent> e(new MouseDownEvent(captured));
    field->OnMouseDown(e);
    captured = e->IsMouseCaptured();
}

void FieldTest::Release() {
    ObjectSmartPointer<MouseUpEvent> e(new MouseUpEvent(captured));
    field->OnMouseUp(e);
    captured = false;
}

void FieldTest::Key(int code) {
    ObjectSmartPointer<KeyDownEvent> e(new KeyDownEvent(0, 0, false, code));
    field->OnMouseMove(e);
}

void FieldTest::Run(float dt, int n) {
    for (int i = 0; i < n; ++i) field->Update(dt);
}

std::vector<std::string> FieldTest::Sent(const std::string& receiver) const {
    std::vector<std::string> found;
    const std::string head = receiver + " < ";
    for (const std::string& entry : trace) {
        if (entry.compare(0, head.size(), head) == 0) found.push_back(entry.substr(head.size()));
    }
    return found;
}

}  // namespace field_test

namespace field_test {

std::vector<std::string> FieldTest::Played() {
    std::vector<std::string> played;
    for (const std::string& call : audio.Calls()) {
        if (call.rfind("BASS_SamplePlayEx(", 0) != 0) continue;
        const std::size_t open = call.find('(');
        const std::size_t end = call.find_first_of(",)", open);
        const int index = std::stoi(call.substr(open + 1, end - open - 1)) - 105;
        if (index >= 0 && index < static_cast<int>(std::size(FIELD_SAMPLES))) played.push_back(std::string("play ") + FIELD_SAMPLES[index]);
    }
    audio.ClearCalls();
    return played;
}

}  // namespace field_test
