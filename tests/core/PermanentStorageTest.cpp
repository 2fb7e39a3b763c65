#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <cstring>
#include <limits>
#include <set>
#include <vector>

#include "core/Int.h"
#include "core/Math.h"
#include "core/PermanentStorage.h"
#include "core/PlayerNotice.h"
#include "tests/core/StorageFixture.h"

using testing_support::LogCapture;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

std::uint32_t Bits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float FromBits(std::uint32_t bits) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof bits);
    return value;
}

class PermanentStorageTest : public StorageFixture {};

}  // namespace

TEST_F(PermanentStorageTest, EveryTypeSurvivesSaveAndLoadExactly) {
    LoadEmpty("p");
    const std::string text = "a<b&\"c\td\ne \xC0\xFF";
    // Not-a-number is out of the game's domain: a loaded one reads as 0 (see the mending test).
    const float floats[] = {0.1f, -0.0f, 1.0f / 3.0f, FromBits(0x00000001), FromBits(0x7F7FFFFF),
                            std::numeric_limits<float>::infinity()};
    PermanentStorage::SetGlobalInt("int", Int::MIN_VALUE);
    PermanentStorage::SetGlobalBool("bool", true);
    PermanentStorage::SetGlobalString("string", text);
    for (int i = 0; i < 6; ++i) PermanentStorage::SetGlobalFloat("float" + std::to_string(i), floats[i]);
    PermanentStorage::SetLocalInt("level", 12);
    PermanentStorage::SetLocalString("empty", "");
    ObjectSmartPointer<XmlElement> tank(new XmlElement("Tank"));
    tank->SetIntAttribute("fish", 3);
    tank->AppendChild(ObjectSmartPointer<XmlNode>(new XmlElement("Plant")));
    PermanentStorage::SetLocalXml("tank", tank);
    EXPECT_EQ(PermanentStorage::GetLocalXml("tank").Get(), tank.Get());  // the element itself
    PermanentStorage::SetGlobalBool("temp:ScreensaverMode", true);
    PermanentStorage::SetLocalInt("temp:x", 1);

    LogCapture log;
    Reload();
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    EXPECT_EQ(StorageText().find("temp:"), std::string::npos);
    EXPECT_NE(StorageText().find("1.000000e-001/0x3DCCCCCD"), std::string::npos);

    EXPECT_EQ(PermanentStorage::GetGlobalInt("int"), Int::MIN_VALUE);
    EXPECT_TRUE(PermanentStorage::GetGlobalBool("bool"));
    EXPECT_EQ(PermanentStorage::GetGlobalString("string"), text);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Bits(PermanentStorage::GetGlobalFloat("float" + std::to_string(i))), Bits(floats[i])) << i;
    }
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "p");
    EXPECT_EQ(PermanentStorage::GetLocalInt("level"), 12);
    EXPECT_EQ(PermanentStorage::GetLocalString("empty"), "");
    const ObjectWeakPointer<XmlElement> loaded = PermanentStorage::GetLocalXml("tank");
    ASSERT_TRUE(loaded != NULL);
    EXPECT_NE(loaded.Get(), tank.Get());
    EXPECT_EQ(loaded->GetName(), "Tank");
    EXPECT_EQ(loaded->GetIntAttribute("fish"), 3);
    ASSERT_TRUE(loaded->GetFirstChildElement("Plant") != NULL);
    EXPECT_FALSE(PermanentStorage::IsGlobalNameDefined("temp:ScreensaverMode"));
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("temp:x"));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(PermanentStorageTest, FileLayoutSortsNamesByByte) {
    LoadEmpty("Anna");
    PermanentStorage::SetGlobalInt("b", 2);
    PermanentStorage::SetGlobalInt("B", 1);
    PermanentStorage::SetGlobalFloat("f", 1.0f);
    PermanentStorage::CreatePlayer("Zoe");
    PermanentStorage::SetLocalBool("done", false);
    PermanentStorage::SetActivePlayer("Zoe");
    PermanentStorage::Save();
    const std::string expected =
        "<Storage>\r\n"
        "\t<Globals>\r\n"
        "\t\t<Variable name=\"B\" type=\"int\" value=\"1\"/>\r\n"
        "\t\t<Variable name=\"b\" type=\"int\" value=\"2\"/>\r\n"
        "\t\t<Variable name=\"f\" type=\"float\" value=\"1.000000e+000/0x3F800000\"/>\r\n"
        "\t</Globals>\r\n"
        "\t<Player name=\"Anna\"/>\r\n"
        "\t<Player name=\"Zoe\">\r\n"
        "\t\t<Variable name=\"done\" type=\"bool\" value=\"false\"/>\r\n"
        "\t</Player>\r\n"
        "\t<ActivePlayer name=\"Zoe\"/>\r\n"
        "</Storage>";
    EXPECT_EQ(StorageText(), expected);
}

TEST_F(PermanentStorageTest, ReadWithDefaultStoresTheDefault) {
    LoadEmpty();
    EXPECT_EQ(PermanentStorage::GetGlobalIntOrDef("n", 5), 5);
    EXPECT_TRUE(PermanentStorage::IsGlobalNameDefined("n"));
    EXPECT_EQ(PermanentStorage::GetGlobalIntOrDef("n", 9), 5);
    EXPECT_EQ(PermanentStorage::GetLocalStringOrDef("s", "x"), "x");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    LogCapture log;
    EXPECT_TRUE(std::isnan(PermanentStorage::GetGlobalFloatOrDef("nan", nan)));
    EXPECT_EQ(log.ErrorCount(), 0);
    PermanentStorage::Save();
    EXPECT_NE(StorageText().find("<Variable name=\"n\" type=\"int\" value=\"5\"/>"), std::string::npos);
}

TEST_F(PermanentStorageTest, MisusesAreReported) {
    LogCapture log;
    PermanentStorage::SetGlobalInt("early", 1);
    EXPECT_TRUE(log.Contains("_isLoaded"));
    PermanentStorage::Discard();

    LoadEmpty();
    PermanentStorage::Load();
    EXPECT_TRUE(log.Contains("!_isLoaded"));

    PermanentStorage::SetGlobalInt("n", 1);
    PermanentStorage::SetGlobalString("n", "a");  // the type may change
    EXPECT_EQ(PermanentStorage::GetGlobalString("n"), "a");
    PermanentStorage::GetGlobalInt("n");
    EXPECT_TRUE(log.Contains("_type == INT_TYPE"));

    PermanentStorage::GetGlobalBool("missing");
    EXPECT_TRUE(log.Contains("Bool variable missing does not exist"));
    PermanentStorage::UndefGlobalName("missing");
    EXPECT_TRUE(log.Contains("i != _variables.end()"));
    PermanentStorage::GetLocalXml("nothing");
    EXPECT_TRUE(log.Contains("XML variable nothing does not exist"));
}

TEST_F(PermanentStorageTest, SavingAStoreThatIsNotLoadedLeavesTheFileAlone) {
    LoadEmpty();
    PermanentStorage::SetGlobalInt("kept", 1);
    PermanentStorage::Unload();
    const std::string saved = StorageText();
    LogCapture log;
    PermanentStorage::Unload();
    PermanentStorage::Save();
    EXPECT_TRUE(log.Contains("_isLoaded"));
    EXPECT_EQ(StorageText(), saved);
}

TEST_F(PermanentStorageTest, LocalAccessCreatesTheActivePlayersSet) {
    LoadEmpty("p");
    PermanentStorage::SetActivePlayer("ghost");  // a failed check; the name is active all the same
    EXPECT_FALSE(PermanentStorage::DoesPlayerExist("ghost"));
    LogCapture log;
    PermanentStorage::GetLocalInt("x");
    EXPECT_TRUE(log.Contains("Int variable x does not exist"));
    EXPECT_TRUE(PermanentStorage::DoesPlayerExist("ghost"));
    PermanentStorage::Save();
    EXPECT_NE(StorageText().find("<Player name=\"ghost\"/>"), std::string::npos);
}

TEST_F(PermanentStorageTest, ValuesTheGameCannotUseAreReportedAndMended) {
    struct Case {
        const char* what;
        const char* players;  // the Player elements
        const char* active;   // the ActivePlayer name
        std::string report;
        int errors;
        const char* activeAfter;
        std::vector<std::string> playersAfter;
    };
    const Case cases[] = {
        {"active player without values", "<Player name=\"Ann\"/>", "Zed",
         "The active player Zed has no values in " + StoragePath() + "; it starts with none", 0, "Zed", {"Ann", "Zed"}},
        {"nameless active player",
         "<Player name=\"\"><Variable name=\"Money\" type=\"int\" value=\"7\"/></Player>", "",
         "A player without a name is renamed Player", 1, "Player", {"Player"}},
        {"nameless player beside one named Player",
         "<Player name=\"\"><Variable name=\"Money\" type=\"int\" value=\"7\"/></Player><Player name=\"Player\"/>",
         "Player", "A player without a name is renamed Player 2", 1, "Player", {"Player", "Player 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seed(std::string("<Storage><Globals/>") + c.players + "<ActivePlayer name=\"" + c.active + "\"/></Storage>");
        LogCapture log;
        PermanentStorage::Load();
        EXPECT_TRUE(log.Contains(c.report)) << log.Text();
        EXPECT_EQ(log.ErrorCount(), c.errors) << log.Text();
        EXPECT_EQ(PermanentStorage::GetActivePlayerName(), c.activeAfter);
        const std::set<std::string> expected(c.playersAfter.begin(), c.playersAfter.end());
        EXPECT_EQ(PermanentStorage::GetPlayerNames(), expected);
        for (const std::string& name : expected) {
            const PermanentVariableSet* player = PermanentStorage::FindPlayer(name);
            if (player->IsDefined("Money")) {
                EXPECT_EQ(player->GetValues().at("Money").GetInt(), 7);
            }
        }
        PermanentStorage::Discard();
    }

    // Not-a-number reads as 0 wherever it is stored; other floats keep their bits.
    Seed("<Storage><Globals><Variable name=\"a\" type=\"float\" value=\"nan/0x7FC00000\"/>"
         "<Variable name=\"b\" type=\"float\" value=\"inf/0x7F800000\"/></Globals>"
         "<Player name=\"p\"><Variable name=\"c\" type=\"float\" value=\"-nan/0xFFC00123\"/></Player>"
         "<ActivePlayer name=\"p\"/></Storage>");
    LogCapture log;
    PermanentStorage::Load();
    EXPECT_TRUE(log.Contains(StoragePath() + ", element Globals / Variable \"a\", attribute value: \"nan/0x7FC00000\""))
        << log.Text();
    EXPECT_TRUE(log.Contains("element Player \"p\" / Variable \"c\", attribute value")) << log.Text();
    EXPECT_TRUE(log.Contains("read as 0.000000e+000; the original is kept in " + StoragePath() + ".set-aside-1"));
    EXPECT_NE(ReadFile(StoragePath() + ".set-aside-1").find("value=\"-nan/0xFFC00123\""), std::string::npos);
    EXPECT_EQ(Bits(PermanentStorage::GetGlobalFloat("a")), 0u);
    EXPECT_EQ(PermanentStorage::GetGlobalFloat("b"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(Bits(PermanentStorage::GetLocalFloat("c")), 0u);
    PermanentStorage::Save();
    EXPECT_EQ(StorageText().find("nan"), std::string::npos);
}

TEST_F(PermanentStorageTest, ValuesKeptWithoutAnActivePlayerSurviveTheNextLoad) {
    // No player is active: the values go to a player without a name, which gets one at the next load.
    Seed("<Storage><Globals/><ActivePlayer name=\"\"/></Storage>");
    PermanentStorage::Load();
    PermanentStorage::SetLocalInt("Money", 40);
    Reload();
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Player");
    EXPECT_EQ(PermanentStorage::GetLocalInt("Money"), 40);
}

TEST_F(PermanentStorageTest, ActivePlayerFromGameInfoWhenTheStorageNamesNone) {
    Seed("<Storage><Globals/><Player name=\"Kim\"/></Storage>");
    WriteFile(dataFolder + "GameInfo.xml", "<GameInfo version=\"3\"><ActivePlayer name=\"Kim\"/></GameInfo>");
    LogCapture log;
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Kim");
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(PermanentStorageTest, BrokenFileFallsBackToItsBackupAndIsKeptAside) {
    const std::string broken = "<Storage><Globals><Variable name=\"v\" type=\"int\"";
    Seed(broken);
    WriteFile(StoragePath() + ".bak",
              "<Storage><Globals><Variable name=\"v\" type=\"int\" value=\"4\"/></Globals>"
              "<ActivePlayer name=\"\"/></Storage>");
    LogCapture log;
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetGlobalInt("v"), 4);
    EXPECT_EQ(ReadFile(StoragePath() + ".unreadable-1"), broken);
    EXPECT_TRUE(log.Contains("is kept as " + StoragePath() + ".unreadable-1")) << log.Text();
}

TEST_F(PermanentStorageTest, UnreadableFileAndBackupGiveAnEmptyStore) {
    Seed("not xml");
    WriteFile(StoragePath() + ".bak", "<Storage>");
    LogCapture log;
    PermanentStorage::Load();
    EXPECT_TRUE(PermanentStorage::IsLoaded());
    EXPECT_TRUE(log.Contains("could not be read; starting with an empty store"));
    EXPECT_TRUE(PermanentStorage::GetPlayerNames().empty());
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "");
    PermanentStorage::SetGlobalInt("after", 1);
    PermanentStorage::Unload();
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetGlobalInt("after"), 1);
}

TEST_F(PermanentStorageTest, ARefusedProfileIsKeptBesideTheNewOneThroughTwoSaves) {
    const std::string profile =
        "<Storage><Globals/><Player name=\"Ann\"><Variable name=\"Money\" type=\"int\" value=\"9000\"/>";
    const std::string olderProfile = profile + "</Player";
    const std::string earlier = "kept from an earlier start";
    Seed(profile);
    WriteFile(StoragePath() + ".bak", olderProfile);
    WriteFile(StoragePath() + ".unreadable-1", earlier);  // never replaced
    LogCapture log;
    PermanentStorage::Load();
    EXPECT_TRUE(log.Contains("The unreadable file " + StoragePath() + " is kept as " + StoragePath() +
                             ".unreadable-2"))
        << log.Text();
    EXPECT_TRUE(log.Contains("is kept as " + StoragePath() + ".bak.unreadable-1")) << log.Text();
    // What can be read of it is kept: the player with her money.
    EXPECT_TRUE(log.Contains("every player and value that can be read of it is kept")) << log.Text();
    EXPECT_EQ(PermanentStorage::FindPlayer("Ann")->GetValues().at("Money").GetInt(), 9000);
    PermanentStorage::CreatePlayer("Bob");
    EXPECT_TRUE(PermanentStorage::Save());
    EXPECT_TRUE(PermanentStorage::Save());
    PermanentStorage::Discard();
    EXPECT_EQ(ReadFile(StoragePath() + ".unreadable-1"), earlier);
    EXPECT_EQ(ReadFile(StoragePath() + ".unreadable-2"), profile);
    EXPECT_EQ(ReadFile(StoragePath() + ".bak.unreadable-1"), olderProfile);
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Bob");
    EXPECT_EQ(PermanentStorage::FindPlayer("Ann")->GetValues().at("Money").GetInt(), 9000);
}

TEST_F(PermanentStorageTest, AProfileWithAByteOrderMarkKeepsItsMoneyAfterTwoSaves) {
    const std::string profile =
        "\xEF\xBB\xBF<Storage><Globals/><Player name=\"Ann\"><Variable name=\"Money\" type=\"int\" "
        "value=\"9000\"/></Player><ActivePlayer name=\"Ann\"/></Storage>";
    Seed(profile);
    PermanentStorage::Load();
    PermanentStorage::Save();
    PermanentStorage::Save();
    PermanentStorage::Discard();
    // The mark is skipped: the profile is read, saved and read again with its money.
    PermanentStorage::Load();
    ASSERT_TRUE(PermanentStorage::DoesPlayerExist("Ann"));
    EXPECT_EQ(PermanentStorage::FindPlayer("Ann")->GetValues().at("Money").GetInt(), 9000);
    EXPECT_FALSE(testing_support::FileExists(StoragePath() + ".unreadable-1"));
}

TEST_F(PermanentStorageTest, AnUnreadableProfileThatCannotBeMovedAsideIsNeverSavedOver) {
    const std::string profile = "<Storage><Globals/><Player name=\"Ann\">";
    Seed(profile);
    // Every name it could be kept under is taken.
    for (int n = 1; n <= 1000; ++n) WriteFile(StoragePath() + ".unreadable-" + std::to_string(n), "");
    LogCapture log;
    PermanentStorage::Load();
    EXPECT_TRUE(log.Contains("could not be moved aside")) << log.Text();
    PermanentStorage::SetGlobalInt("n", 1);
    EXPECT_FALSE(PermanentStorage::Save());
    EXPECT_FALSE(PermanentStorage::Unload());
    EXPECT_TRUE(log.Contains("is not saved: the unreadable profile is still in its place"));
    EXPECT_EQ(StorageText(), profile);
}

TEST_F(PermanentStorageTest, UnknownContentIsReportedAndSetAsideBesideTheProfile) {
    Seed("<Storage><Globals><Variable name=\"a\" type=\"long\" value=\"1\"/>"
         "<Variable name=\"b\" type=\"int\" value=\"1\"/><Variable name=\"b\" type=\"int\" value=\"2\"/>"
         "</Globals><Player name=\"p\"/><Player name=\"p\"><Variable name=\"m\" type=\"int\" value=\"5\"/></Player>"
         "<Extra/><ActivePlayer name=\"p\"/></Storage>");
    LogCapture log;
    PermanentStorage::Load();
    EXPECT_TRUE(log.Contains("_variables.find(variableName) == _variables.end()"));
    EXPECT_TRUE(log.Contains("_players.find(playerName) == _players.end()"));
    EXPECT_TRUE(log.Contains(StoragePath() + ", element Globals / Variable \"a\", attribute type: has the unknown "
                             "type \"long\"; it is set aside in " + StoragePath() + ".set-aside-1"))
        << log.Text();
    EXPECT_TRUE(log.Contains("element Extra: is an element the reader does not know")) << log.Text();
    EXPECT_EQ(log.ErrorCount(), 4) << log.Text();
    EXPECT_FALSE(PermanentStorage::IsGlobalNameDefined("a"));
    EXPECT_EQ(PermanentStorage::GetGlobalInt("b"), 1);
    // The next saves drop none of it: it is beside the profile.
    PermanentStorage::Save();
    PermanentStorage::Save();
    const std::string kept = ReadFile(StoragePath() + ".set-aside-1");
    for (const char* part : {"<Variable name=\"a\" type=\"long\" value=\"1\"/>",
                             "<Variable name=\"b\" type=\"int\" value=\"2\"/>",
                             "<Variable name=\"m\" type=\"int\" value=\"5\"/>", "<Extra/>"}) {
        EXPECT_NE(kept.find(part), std::string::npos) << part << "\n" << kept;
    }
}

// Numbers of a profile outside the int's range or form: clamped or set aside with one report
// naming file, element, attribute and value; other players untouched; the original kept beside.
TEST_F(PermanentStorageTest, NumbersOfAProfileStayInTheirRangeWithOneReportNamingTheValue) {
    const std::string longNumber(10000000, '9');
    const struct {
        std::string text;
        int value;  // -1: not read
        int errors;
    } cases[] = {
        {"2147483647", Int::MAX_VALUE, 0},
        {"1e9", 1000000000, 1},
        {"1e30", Int::MAX_VALUE, 1},
        {"-1e30", Int::MIN_VALUE, 1},
        {"2147483648", Int::MAX_VALUE, 1},
        {"-2147483649", Int::MIN_VALUE, 1},
        {longNumber, Int::MAX_VALUE, 1},
        {"12.7", 13, 1},
        {"007", 7, 1},
        {"abc", -1, 1},
        {"0x10", -1, 1},
        {"", -1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        ::mkdir(dataFolder.c_str(), 0755);
        Seed("<Storage><Globals><Variable name=\"g\" type=\"float\" value=\"1e39\"/></Globals>"
             "<Player name=\"Ann\"><Variable name=\"Money\" type=\"int\" value=\"" + c.text + "\"/></Player>"
             "<Player name=\"Bob\"><Variable name=\"Money\" type=\"int\" value=\"5\"/></Player>"
             "<ActivePlayer name=\"Ann\"/></Storage>");
        LogCapture log;
        PlayerNotice::Clear();
        PermanentStorage::Load();
        EXPECT_EQ(PermanentStorage::GetGlobalFloat("g"), std::numeric_limits<float>::max());
        const PermanentVariableSet& ann = *PermanentStorage::FindPlayer("Ann");
        if (c.value == -1) {
            EXPECT_FALSE(ann.IsDefined("Money"));
        } else {
            EXPECT_EQ(ann.GetValues().at("Money").GetInt(), c.value);
        }
        EXPECT_EQ(PermanentStorage::FindPlayer("Bob")->GetValues().at("Money").GetInt(), 5);
        EXPECT_EQ(log.ErrorCount(), 1 + c.errors) << log.Text();  // the float and the int
        EXPECT_LT(log.Text().size(), 10000u);
        if (c.errors > 0) {
            EXPECT_TRUE(log.Contains(StoragePath() + ", element Player \"Ann\" / Variable \"Money\", attribute value: \"" +
                                     c.text.substr(0, 10)))
                << log.Text();
            EXPECT_NE(ReadFile(StoragePath() + ".set-aside-1").find("value=\"" + c.text + "\""), std::string::npos);
        }
        std::string notice;
        EXPECT_TRUE(PlayerNotice::Take(&notice));
        EXPECT_NE(notice.find(StoragePath() + ".set-aside-1"), std::string::npos) << notice;
        EXPECT_FALSE(PlayerNotice::Take(&notice));
        PermanentStorage::Discard();
        std::filesystem::remove_all(dataFolder);
    }
    // Money near the top of the range plus a won level stays at the top.
    EXPECT_EQ(Math::AddClamped(2147483600, 500), Int::MAX_VALUE);
    EXPECT_EQ(Math::AddClamped(Int::MIN_VALUE, -1), Int::MIN_VALUE);
    EXPECT_EQ(Math::AddClamped(-5, 7), 2);
}

// One value nested 20,000 deep makes the file unreadable to the XML reader: the file is kept
// aside whole, and every other player and value is read from it; the deep value is set aside.
TEST_F(PermanentStorageTest, ADeeplyNestedValueCostsOnlyItself) {
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<a>";
    for (int i = 0; i < 20000; ++i) deep += "</a>";
    const std::string profile =
        "<Storage>\n<Globals>\n<Variable name=\"Music Volume\" type=\"float\" value=\"0.5\"/>\n</Globals>\n"
        "<Player name=\"Ann\">\n<Variable name=\"Deep\" type=\"xml\">" + deep + "</Variable>\n"
        "<Variable name=\"Money\" type=\"int\" value=\"9000\"/>\n"
        "<Variable name=\"Broken\" type=\"int\" value=\"1&#xZZ;\"/>\n"
        "<Variable name=\"Tank\" type=\"xml\"><Tank fish=\"3\"/></Variable>\n</Player>\n"
        "<Player name=\"Bob\">\n<Variable name=\"Money\" type=\"int\" value=\"5\"/>\n</Player>\n"
        "<ActivePlayer name=\"Ann\"/>\n</Storage>";
    Seed(profile);
    LogCapture log;
    PlayerNotice::Clear();
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetGlobalFloat("Music Volume"), 0.5f);
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Ann");
    EXPECT_EQ(PermanentStorage::GetLocalInt("Money"), 9000);
    EXPECT_EQ(PermanentStorage::GetLocalXml("Tank")->GetIntAttribute("fish"), 3);
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("Deep"));
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("Broken"));
    EXPECT_EQ(PermanentStorage::FindPlayer("Bob")->GetValues().at("Money").GetInt(), 5);
    EXPECT_EQ(ReadFile(StoragePath() + ".unreadable-1"), profile);
    EXPECT_TRUE(log.Contains("element Player \"Ann\" / Variable \"Deep\"")) << log.Text();
    EXPECT_TRUE(log.Contains("element Player \"Ann\" / Variable \"Broken\"")) << log.Text();
    EXPECT_LT(log.Text().size(), 20000u);
    std::string notice;
    EXPECT_TRUE(PlayerNotice::Take(&notice));
    EXPECT_FALSE(PlayerNotice::Take(&notice));
    // Saved and read again: everything read stays, and what was set aside is still beside it.
    Reload();
    EXPECT_EQ(PermanentStorage::GetLocalInt("Money"), 9000);
    EXPECT_EQ(PermanentStorage::FindPlayer("Bob")->GetValues().at("Money").GetInt(), 5);
    EXPECT_NE(ReadFile(StoragePath() + ".set-aside-1").find("&lt;a&gt;&lt;a&gt;"), std::string::npos);
    EXPECT_FALSE(PlayerNotice::Take(&notice));
}

// A save that fails is told to the player once, with the reason and where the profile lives; the
// store keeps everything, and the next save that can write saves it all.
TEST_F(PermanentStorageTest, AFailedSaveIsToldOnceAndTheNextSaveKeepsEverything) {
    LoadEmpty("Ann");
    PermanentStorage::SetLocalInt("Money", 10);
    ASSERT_TRUE(PermanentStorage::Save());
    const std::string saved = StorageText();
    ASSERT_EQ(::symlink("/dev/full", (StoragePath() + ".new").c_str()), 0);
    PlayerNotice::Clear();
    PermanentStorage::SetLocalInt("Money", 70);
    EXPECT_FALSE(PermanentStorage::Save());
    EXPECT_FALSE(PermanentStorage::Commit());
    std::string notice;
    ASSERT_TRUE(PlayerNotice::Take(&notice));
    EXPECT_NE(notice.find("could not be saved (No space left on device)"), std::string::npos) << notice;
    EXPECT_NE(notice.find(StoragePath()), std::string::npos) << notice;
    EXPECT_FALSE(PlayerNotice::Take(&notice));
    EXPECT_EQ(StorageText(), saved);

    ASSERT_EQ(::unlink((StoragePath() + ".new").c_str()), 0);
    EXPECT_TRUE(PermanentStorage::Save());
    EXPECT_FALSE(PlayerNotice::Take(&notice));
    // A later failure is told again.
    ASSERT_EQ(::symlink("/dev/full", (StoragePath() + ".new").c_str()), 0);
    EXPECT_FALSE(PermanentStorage::Save());
    EXPECT_TRUE(PlayerNotice::Take(&notice));
    ASSERT_EQ(::unlink((StoragePath() + ".new").c_str()), 0);
    Reload();
    EXPECT_EQ(PermanentStorage::GetLocalInt("Money"), 70);
}
