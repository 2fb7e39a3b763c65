// The level editor: its panel, entering and leaving it, painting, growing, erasing and trimming the
// board, its commands and dialogs, and saving levels into the level file.
#include <gtest/gtest.h>

#include <map>

#include "content/ResourceManager.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "match3/board/BoardEditing.h"
#include "tests/match3/FieldTestSupport.h"
#include "tests/support/TestSupport.h"

namespace field_test {
namespace {

using effects_test::ParseElement;
using effects_test::WriteTestPicture;
using testing_support::LogCapture;

constexpr int KEY_F5 = 0x74;

// Records like a trace receiver and answers queries from its table.
class ReplyReceiver : public TraceReceiver {
public:
    using TraceReceiver::TraceReceiver;
    std::string OnMessageReply(std::string message) override { return replies[message]; }
    std::map<std::string, std::string> replies;
};

// The panel at (10, 150): an opaque background of 60 x 420 and seven buttons of 30 x 30 from
// (20, 550) down in steps of 40: the six tools, then "Editor save level".
const char* const EDITOR = R"(<FieldEditor backgroundTextureId="editor_background" bornTextureId="editor_born">
  <position x="10" y="150"/>
  <group stepX="0" stepY="-40"><position x="10" y="400"/>
    <button textureId="tool0" value="0"/><button textureId="tool1" value="1"/><button textureId="tool2" value="2"/>
    <button textureId="tool3" value="3"/><button textureId="tool4" value="4"/><button textureId="tool5" value="5"/>
    <button textureId="save" value="18"/>
  </group>
</FieldEditor>)";

class FieldEditorTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        WriteTestPicture(dir + "background.png", 60, 420);
        WriteTestPicture(dir + "button.png", 30, 30);
        std::string textures = "<texture id=\"editor_background\" path=\"background.png\"/>"
                               "<texture id=\"editor_born\" path=\"button.png\"/>"
                               "<texture id=\"save\" path=\"button.png\"/>";
        for (int i = 0; i < 6; ++i) {
            textures += "<texture id=\"tool" + std::to_string(i) + "\" path=\"button.png\"/>";
        }
        ResourceManager::LoadResources(ParseElement("<Resources><Fonts><font name=\"arial\" aliasOf=\"demo\"/></Fonts>"
                                             "<Textures upload=\"refcount\" storage=\"memory-keeping\">" +
                                             textures + "</Textures></Resources>"));
        for (const char* name : {"Overwrite confirmation modal dialog", "Game field panel mover", "Editor list mover"}) {
            receivers.push_back(std::make_unique<TraceReceiver>(name, trace));
        }
        for (const char* name : {"File listbox", "Level name edit", "Level time edit"}) {
            auto receiver = std::make_unique<ReplyReceiver>(name, trace);
            replies[name] = receiver.get();
            receivers.push_back(std::move(receiver));
        }
    }

    void MakeEditorField() { MakeField("", EDITOR); }
    // Starts the editor on a level.
    void Edit(const std::string& level) {
        field = ObjectSmartPointer<ZovGameFieldControl>();
        MakeEditorField();
        Load(level);
        Key(KEY_F5);
        ASSERT_TRUE(field->IsEditing());
    }
    Point ButtonPoint(int k) const { return Point(35, 565 - 40 * k); }
    void ChooseTool(int k) {
        Press(ButtonPoint(k));
        Release();
    }
    // Presses a cell and drags to a point, painting on the way.
    void Paint(const Point& from, const Point& to) {
        Press(from);
        Move(to, captured);
    }
    void RightClick(const Point& p) {
        ObjectSmartPointer<RightButtonDownEvent> e(new RightButtonDownEvent(p.x, p.y, false));
        field->OnMouseMove(e);
    }
    std::vector<std::string> Lines() const { return BoardLevelLines(field->Board()); }
    std::string LevelsFile() const { return testing_support::ReadFile(dir + "PlLevels.xml"); }

    std::map<std::string, ReplyReceiver*> replies;
};

TEST_F(FieldEditorTest, ThePanelLaysOutItsButtonsAndStartsWithTheFirstTool) {
    MakeEditorField();
    FieldEditor* editor = field->Editor();
    ASSERT_NE(nullptr, editor);
    ASSERT_EQ(7u, editor->_buttons.size());
    EXPECT_EQ(Point(10, 400), editor->_buttons[0].position);
    EXPECT_EQ(Point(10, 360), editor->_buttons[1].position);
    EXPECT_EQ(Point(10, 320), editor->_buttons[2].position);
    EXPECT_EQ(0, editor->_tool);
    EXPECT_EQ(editor->_buttons[0].picture.GetPointer().Get(), editor->_toolPicture.GetPointer().Get());
    EXPECT_FALSE(editor->_editing);
    // The level loaded at construction names the panel.
    EXPECT_EQ("One", editor->_levelName);
    EXPECT_EQ(100, editor->_levelTime);
    EXPECT_EQ("123", editor->_chips);

    const std::string noTool = std::string(EDITOR).replace(std::string(EDITOR).find("value=\"0\""), 9, "value=\"6\"");
    LogCapture log;
    ObjectSmartPointer<FieldEditor> bare(new FieldEditor(ParseElement(noTool)));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    EXPECT_EQ(0, bare->_tool);
    EXPECT_EQ(nullptr, bare->_toolPicture.GetPointer().Get());
    EXPECT_EQ("", bare->_levelName);
    EXPECT_EQ(45, bare->_levelTime);
    EXPECT_EQ("0123", bare->_chips);
}

TEST_F(FieldEditorTest, F5EntersAndLeavesOnlyForDevelopers) {
    MakeEditorField();
    Load("Two");
    PermanentStorage::SetGlobalBool("dev", false);
    Key(KEY_F5);
    EXPECT_FALSE(field->IsEditing());
    PermanentStorage::SetGlobalBool("dev", true);
    Key(KEY_F5);
    EXPECT_TRUE(field->IsEditing());
    EXPECT_EQ((std::vector<std::string>{"report arrival to null", "set arrival message null", "move to out"}),
              Sent("Game field panel mover"));
    EXPECT_EQ("move to in", Sent("Editor list mover").back());
    EXPECT_TRUE(field->IsFieldShown());
    EXPECT_EQ(100, field->GetLevelTime());
    // Nothing moves while editing.
    const float clock = field->GetPieceClock();
    Run(0.1f, 10);
    EXPECT_EQ(clock, field->GetPieceClock());

    Key(KEY_F5);
    EXPECT_FALSE(field->IsEditing());
    EXPECT_EQ("move to in", Sent("Game field panel mover").back());
    EXPECT_EQ("move to out", Sent("Editor list mover").back());
    EXPECT_TRUE(Sent("Overwrite confirmation modal dialog").empty());
}

TEST_F(FieldEditorTest, ThePanelsButtonsChooseToolsAndSendCommands) {
    Edit("Two");
    ChooseTool(3);
    EXPECT_EQ(3, field->Editor()->_tool);
    EXPECT_FALSE(field->Editor()->_pressed);
    ChooseTool(6);  // "Editor save level"
    EXPECT_EQ(3, field->Editor()->_tool);
    EXPECT_EQ("instantiate LevelNameEditTemplate", Sent("Game field modal dialog").back());
    EXPECT_EQ("set value Two", Sent("Level name edit").back());
}

TEST_F(FieldEditorTest, GrowingAtTheTopKeepsTheCellsOnTheScreen) {
    Edit("Two");
    ChooseTool(2);
    const Point before = CellPoint(1, 0);
    Paint(before, CellPoint(1, 0, 0, 30));  // 8 units above the top row
    EXPECT_EQ((std::vector<std::string>{"0D0", "aaa", "ddd", "aaa"}), Lines());
    EXPECT_EQ(before, CellPoint(1, 1));
    Release();
    // Centred again on the home position.
    EXPECT_EQ(Point(400 - 66, 300 - 88), field->GetAbsolutePos());
}

TEST_F(FieldEditorTest, GrowingAtTheLeftMovesTheFieldSoTheCellsStay) {
    Edit("Two");
    ChooseTool(4);
    const Point before = CellPoint(0, 1);
    Paint(before, CellPoint(0, 1, -30, 0));
    // The new cell takes the values of the cell the drag left (silver) with the tool's lock.
    EXPECT_EQ((std::vector<std::string>{"0AAA", "eddd", "0aaa"}), Lines());
    EXPECT_EQ(before, CellPoint(1, 1));
    Release();
    EXPECT_EQ(Point(400 - 88, 300 - 66), field->GetAbsolutePos());
}

TEST_F(FieldEditorTest, FifteenColumnsAtMost) {
    WriteLevels("<Levels><Level id=\"Wide\" time=\"60\"><Line>AAAAAAAAAAAAAA</Line></Level></Levels>");
    Edit("Wide");
    Paint(CellPoint(13, 0), CellPoint(13, 0, 44, 0));
    Release();
    EXPECT_EQ(15, field->Board().GetSizeX());

    Edit("Wide");
    Paint(CellPoint(0, 0), CellPoint(0, 0, -30, 0));
    Release();
    EXPECT_EQ((std::vector<std::string>{"AAAAAAAAAAAAAA"}), Lines());
}

TEST_F(FieldEditorTest, NothingIsPaintedThroughThePanel) {
    Edit("Two");
    ChooseTool(3);
    // A drag from the board onto the panel's background over no button.
    Paint(CellPoint(0, 2), Point(60, 200));
    Release();
    EXPECT_EQ((std::vector<std::string>{"AAA", "ddd", "aaa"}), Lines());
    // Dragging over a tool button takes that tool.
    Paint(CellPoint(0, 2), ButtonPoint(5));
    EXPECT_EQ(5, field->Editor()->_tool);
    Release();
}

TEST_F(FieldEditorTest, ErasingTheLastCellOfAColumnTrimsAndCentresTheBoard) {
    WriteLevels("<Levels><Level id=\"Ed\" time=\"60\"><Line>aaa</Line><Line>0dd</Line></Level></Levels>");
    Edit("Ed");
    RightClick(CellPoint(0, 0));
    EXPECT_EQ((std::vector<std::string>{"AA", "dd"}), Lines());
    EXPECT_EQ(Point(400 - 44, 300 - 44), field->GetAbsolutePos());
    // With tool 2 the silver comes off first, then the cell.
    ChooseTool(2);
    RightClick(CellPoint(0, 1));
    EXPECT_EQ((std::vector<std::string>{"AA", "ad"}), Lines());
    RightClick(CellPoint(0, 1));
    EXPECT_EQ((std::vector<std::string>{"AA", "0d"}), Lines());
}

TEST_F(FieldEditorTest, LevelsSavedAsBAThenCStandSortedInTheFile) {
    Edit("Two");
    for (const char* id : {"b", "a", "c"}) {
        field->Editor()->_levelName = id;
        field->SaveLevel(false);
    }
    EXPECT_EQ((std::vector<std::string>{"One", "Three", "Two", "a", "b", "c"}), field->LevelIds());
    EXPECT_NE(std::string::npos, LevelsFile().find("<Level id=\"a\" time=\"100\" chips=\"123\">"));
}

TEST_F(FieldEditorTest, F5ReplacesTheLevelWithoutAskingAndTheEditedLevelPlays) {
    Edit("Two");
    ChooseTool(3);
    Paint(CellPoint(2, 2), CellPoint(2, 2, 44, 0));
    Release();
    Key(KEY_F5);
    EXPECT_TRUE(Sent("Overwrite confirmation modal dialog").empty());
    EXPECT_EQ((std::vector<std::string>{"One", "Three", "Two"}), field->LevelIds());
    EXPECT_NE(std::string::npos, LevelsFile().find("<Line>aaag</Line>"));
    // The edited level is loaded again and played.
    EXPECT_FALSE(field->IsEditing());
    EXPECT_EQ("Two", field->GetLevelName());
    EXPECT_EQ((std::vector<std::string>{"AAA0", "ddd0", "aaag"}), Lines());
    field->FinishAppearance();
    EXPECT_TRUE(field->IsFieldShown());
    EXPECT_EQ(4, field->Board().GetAllPaints());
}

TEST_F(FieldEditorTest, NamingAnExistingLevelAsksBeforeReplacingIt) {
    Edit("Two");
    RightClick(CellPoint(0, 0));
    const std::string before = LevelsFile();
    replies["Level name edit"]->replies["get value"] = "One";
    field->OnMessage("Enter level name ok pressed");
    EXPECT_EQ("instantiate OverwriteLevelDialogTemplate", Sent("Overwrite confirmation modal dialog").back());
    EXPECT_EQ(before, LevelsFile());
    field->OnMessage("Overwrite level no pressed");
    EXPECT_EQ("hide", Sent("Overwrite confirmation modal dialog").back());
    EXPECT_EQ(before, LevelsFile());

    field->OnMessage("Enter level name ok pressed");
    field->OnMessage("Overwrite level yes pressed");
    EXPECT_EQ("hide", Sent("Game field modal dialog").back());  // the name dialog closes
    EXPECT_EQ((std::vector<std::string>{"One", "Three", "Two"}), field->LevelIds());
    EXPECT_NE(std::string::npos, LevelsFile().find("<Line>0AA</Line>"));

    // A new name is saved at once.
    replies["Level name edit"]->replies["get value"] = "New";
    field->OnMessage("Enter level name ok pressed");
    EXPECT_EQ((std::vector<std::string>{"New", "One", "Three", "Two"}), field->LevelIds());
}

TEST_F(FieldEditorTest, ALevelFileThatCannotBeReadIsNotReplaced) {
    Edit("Two");
    testing_support::WriteFile(dir + "PlLevels.xml", "<Levels><Level");
    LogCapture log;
    field->SaveLevel(false);
    EXPECT_EQ("<Levels><Level", LevelsFile());
    EXPECT_TRUE(log.Contains("not saved"));

    field->Editor()->_levelName = "";
    field->SaveLevel(false);
    EXPECT_TRUE(log.Contains("it has no name"));
}

TEST_F(FieldEditorTest, EditorCommandsAndDialogs) {
    Edit("Two");
    field->OnMessage("Editor open level");
    EXPECT_EQ((std::vector<std::string>{"clear", "add normal One", "add normal Two", "add normal Three", "set active One"}),
              Sent("File listbox"));

    field->OnMessage("Editor set time");
    EXPECT_EQ("set value 100", Sent("Level time edit").back());
    {
        LogCapture log;
        replies["Level time edit"]->replies["get value"] = "0";
        field->OnMessage("Set level time ok pressed");
        EXPECT_EQ(100, field->Editor()->_levelTime);
        EXPECT_EQ(1, log.ErrorCount());
    }
    replies["Level time edit"]->replies["get value"] = "75";
    field->OnMessage("Set level time ok pressed");
    EXPECT_EQ(75, field->Editor()->_levelTime);

    field->OnMessage("Editor select level chips");
    EXPECT_TRUE(PermanentStorage::GetLocalBool("editor_chip2"));
    EXPECT_FALSE(PermanentStorage::GetLocalBool("editor_chip0"));
    PermanentStorage::SetLocalBool("editor_chip2", false);
    PermanentStorage::SetLocalBool("editor_chip7", true);
    field->OnMessage("Select level chips ok");
    EXPECT_EQ("137", field->Editor()->_chips);

    replies["File listbox"]->replies["is empty"] = "false";
    replies["File listbox"]->replies["get active"] = "Three";
    field->OnMessage("Editor delete level");
    const std::vector<std::string> dialog = Sent("Game field modal dialog");
    ASSERT_GE(dialog.size(), 3u);
    EXPECT_EQ((std::vector<std::string>{"template DeleteLevelDialogTemplate", "defineText [filename] Three",
                                        "create instance"}),
              std::vector<std::string>(dialog.end() - 3, dialog.end()));
    field->OnMessage("Delete level yes pressed");
    EXPECT_EQ((std::vector<std::string>{"One", "Two"}), field->LevelIds());
    EXPECT_EQ("remove active", Sent("File listbox").back());

    field->OnMessage("Editor new level");
    EXPECT_EQ("noname", field->Editor()->_levelName);
    EXPECT_EQ(0, field->Board().GetSizeX());
    EXPECT_EQ(Point(400, 300), field->GetAbsolutePos());
    // Painting on the empty board makes its first cell; saving writes it under the new name.
    ChooseTool(0);
    Paint(CellPoint(0, 0, 10, 10), CellPoint(0, 0, 11, 10));
    Release();
    EXPECT_EQ((std::vector<std::string>{"A"}), Lines());
    field->SaveLevel(false);
    EXPECT_EQ((std::vector<std::string>{"One", "Two", "noname"}), field->LevelIds());
}

}  // namespace
}  // namespace field_test
