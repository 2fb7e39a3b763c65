// Drives the storage tool as a person would, and kills it while it saves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/Float.h"
#include "core/Int.h"
#include "core/PermanentStorage.h"
#include "tests/core/StorageFixture.h"

extern char** environ;

namespace {

struct Child {
    pid_t pid = -1;
    int output = -1;  // the read end of the child's standard output
};

// The child's standard error goes to errorFile when one is named.
Child Spawn(const std::vector<std::string>& args, const std::string& errorFile = "") {
    std::vector<char*> argv;
    const std::string tool = MARIVEL_STORAGE_TOOL;
    argv.push_back(const_cast<char*>(tool.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return Child();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    if (!errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    Child child;
    if (posix_spawn(&child.pid, tool.c_str(), &actions, nullptr, argv.data(), environ) != 0) child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    child.output = pipeEnds[0];
    return child;
}

// Reads the child's output up to the end of the line holding `marker`, or to its end.
std::string ReadUntil(int fd, const std::string& marker) {
    std::string text;
    char c;
    while (read(fd, &c, 1) == 1) {
        text += c;
        if (c == '\n' && text.find(marker) != std::string::npos) break;
    }
    return text;
}

int Wait(const Child& child) {
    int status = 0;
    waitpid(child.pid, &status, 0);
    close(child.output);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// Runs the tool to its end; gives its exit code, output and error output.
int RunTool(const std::vector<std::string>& args, std::string* output = nullptr, std::string* errors = nullptr) {
    const std::string errorFile = testing_support::MakeTempDir("stderr") + "stderr.txt";
    const Child child = Spawn(args, errorFile);
    EXPECT_GT(child.pid, 0);
    const std::string text = ReadUntil(child.output, "\x01");
    if (output) *output = text;
    const int status = Wait(child);
    if (errors) *errors = testing_support::ReadFile(errorFile);
    return status;
}

std::string Describe(const PermanentValue& v) {
    switch (v.GetType()) {
        case PermanentValue::INT_TYPE: return "int " + Int::ToString(v.GetInt());
        case PermanentValue::BOOL_TYPE: return v.GetBool() ? "bool true" : "bool false";
        case PermanentValue::FLOAT_TYPE: return "float " + Float::ToString(v.GetFloat());
        case PermanentValue::STRING_TYPE: return "string " + v.GetString();
        default: return "other";
    }
}

// Everything the loaded store holds, as comparable text.
std::map<std::string, std::string> Contents() {
    std::map<std::string, std::string> all;
    for (const auto& g : PermanentStorage::GetGlobals().GetValues()) all["/" + g.first] = Describe(g.second);
    for (const std::string& player : PermanentStorage::GetPlayerNames()) {
        for (const auto& v : PermanentStorage::FindPlayer(player)->GetValues()) {
            all[player + "/" + v.first] = Describe(v.second);
        }
    }
    all["active"] = PermanentStorage::GetActivePlayerName();
    return all;
}

class StorageToolTest : public StorageFixture {
protected:
    // A store of about 1 MB; gives what it holds.
    static std::map<std::string, std::string> MakeLargeStore() {
        LoadEmpty("player0");
        const std::string filler(13000, 'x');
        for (int p = 0; p < 4; ++p) {
            PermanentStorage::CreatePlayer("player" + std::to_string(p));
            for (int v = 0; v < 80; ++v) {
                const std::string name = "value" + std::to_string(v);
                switch (v % 4) {
                    case 0: PermanentStorage::SetLocalInt(name, p * 1000 + v); break;
                    case 1: PermanentStorage::SetLocalFloat(name, 0.1f * float(v) + float(p)); break;
                    case 2: PermanentStorage::SetLocalBool(name, (p + v) % 3 == 0); break;
                    default: PermanentStorage::SetLocalString(name, filler + std::to_string(v)); break;
                }
            }
        }
        PermanentStorage::SetGlobalString("Use UTF-8", "no");
        return Contents();
    }
};

}  // namespace

TEST_F(StorageToolTest, PlayerCommandsChangeTheFileAndRefusalsLeaveItAlone) {
    LoadEmpty("Ann");
    PermanentStorage::SetLocalInt("money", 120);
    PermanentStorage::SetLocalBool("temp:seen", true);
    PermanentStorage::CreatePlayer("Bob");
    PermanentStorage::SetGlobalFloat("volume", 0.1f);
    PermanentStorage::Unload();
    const std::string folder = dataFolder;

    std::string out;
    ASSERT_EQ(RunTool({folder, "list"}, &out), 0) << out;
    EXPECT_NE(out.find("Player Bob (active)"), std::string::npos) << out;
    EXPECT_NE(out.find("  money = int 120"), std::string::npos) << out;
    EXPECT_NE(out.find("  volume = float 1.000000e-001/0x3DCCCCCD"), std::string::npos) << out;

    const std::string before = StorageText();
    EXPECT_EQ(RunTool({folder, "rename", "Ann", "Bob"}), 1);
    EXPECT_EQ(RunTool({folder, "delete", "Bob"}), 1);  // the active player
    EXPECT_EQ(RunTool({folder, "delete", "Zed"}), 1);
    EXPECT_EQ(RunTool({folder, "frobnicate"}), 2);
    EXPECT_EQ(StorageText(), before);

    EXPECT_EQ(RunTool({folder + "Storage.xml", "rename", "Ann", "Anna"}), 0);
    EXPECT_EQ(RunTool({folder, "create", "Cid"}), 0);
    EXPECT_EQ(RunTool({folder, "delete", "Bob"}), 0);
    EXPECT_EQ(RunTool({folder, "backup", "-old"}), 0);
    ASSERT_EQ(RunTool({folder, "players"}, &out), 0);
    EXPECT_EQ(out.substr(out.find('\n') + 1), "Anna\nCid (active)\nCid-old\n");

    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Cid");
    PermanentStorage::SetActivePlayer("Anna");
    EXPECT_EQ(PermanentStorage::GetLocalInt("money"), 120);
}

TEST_F(StorageToolTest, KilledWhileSavingNeverLosesTheProfile) {
    const std::map<std::string, std::string> expected = MakeLargeStore();
    const auto saveStart = std::chrono::steady_clock::now();
    PermanentStorage::Unload();
    const auto saveTime = std::chrono::steady_clock::now() - saveStart;
    ASSERT_GE(StorageText().size(), 1000000u);

    const std::string expectedText = StorageText();

    std::mt19937 random(20261210);
    const long saveMicroseconds = std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count();
    std::uniform_int_distribution<long> anyTime(0, saveMicroseconds * 3 / 2 + 1);
    std::uniform_int_distribution<long> whileWriting(0, saveMicroseconds / 2 + 1);
    int killedWhileWriting = 0;
    for (int round = 1; round <= 50; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Child child = Spawn({dataFolder, "save", "1000000"});
        ASSERT_GT(child.pid, 0);
        const std::string started = ReadUntil(child.output, "loaded");
        ASSERT_NE(started.find("loaded"), std::string::npos);
        if (round % 2 == 0) {
            // Every other round waits for the longer part of a save, the writing of the new text
            // beside the file.
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!testing_support::FileExists(StoragePath() + ".new") && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
            std::this_thread::sleep_for(std::chrono::microseconds(whileWriting(random)));
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(anyTime(random)));
        }
        kill(child.pid, SIGKILL);
        ASSERT_EQ(Wait(child), -SIGKILL);

        // The file is there at every instant of a save and holds a whole text; every save writes
        // the same store, so it holds exactly the text saved at first.
        if (testing_support::FileExists(StoragePath() + ".new")) ++killedWhileWriting;
        ASSERT_EQ(testing_support::ReadFile(StoragePath()), expectedText);
        if (round % 10 == 0 || killedWhileWriting == 1) {
            testing_support::LogCapture log;
            PermanentStorage::Load();
            ASSERT_EQ(Contents(), expected);
            PermanentStorage::Discard();
            EXPECT_FALSE(log.Contains("starting with an empty store"));
        }
    }
    EXPECT_GE(killedWhileWriting, 10);
}

TEST_F(StorageToolTest, ARefusedProfileSurvivesCreateAndSave) {
    const std::string profile =
        "<Storage><Globals/><Player name=\"Ann\"><Variable name=\"Money\" type=\"int\" value=\"9000\"/>";
    Seed(profile);
    std::string errors;
    EXPECT_EQ(RunTool({dataFolder, "create", "Bob"}, nullptr, &errors), 0);
    EXPECT_NE(errors.find("is kept as " + StoragePath() + ".unreadable-1"), std::string::npos) << errors;
    EXPECT_EQ(RunTool({dataFolder, "save"}), 0);
    EXPECT_EQ(RunTool({dataFolder, "save", "2"}), 0);
    EXPECT_EQ(testing_support::ReadFile(StoragePath() + ".unreadable-1"), profile);
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Bob");
}

TEST_F(StorageToolTest, AFolderThatCannotBeWrittenGivesAMessageAndExitStatus3) {
    // Both fail for root too: a folder where the new text and the log would go, and a data
    // folder below a plain file.
    LoadEmpty("Ann");
    PermanentStorage::SetLocalInt("Money", 120);
    PermanentStorage::Unload();
    const std::string saved = StorageText();
    ::mkdir((StoragePath() + ".new").c_str(), 0755);
    ::mkdir((dataFolder + "log.htm").c_str(), 0755);
    testing_support::WriteFile(dataFolder + "plain", "");
    const std::string belowAFile = dataFolder + "plain/data/";

    struct Case {
        std::string folder;
        std::vector<std::string> command;
    };
    for (const Case& c : {Case{dataFolder, {"save"}}, Case{dataFolder, {"create", "Bob"}},
                          Case{belowAFile, {"create", "Bob"}}}) {
        SCOPED_TRACE(c.folder + " " + c.command[0]);
        std::vector<std::string> args = {c.folder};
        args.insert(args.end(), c.command.begin(), c.command.end());
        std::string errors;
        EXPECT_EQ(RunTool(args, nullptr, &errors), 3);
        EXPECT_NE(errors.find(c.folder + "Storage.xml could not be saved"), std::string::npos) << errors;
        EXPECT_NE(errors.find("cannot write the log " + c.folder + "log.htm"), std::string::npos) << errors;
    }
    EXPECT_EQ(StorageText(), saved);
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetLocalInt("Money"), 120);
}

TEST_F(StorageToolTest, TermAndInterruptStopTheToolPromptlyBetweenSaves) {
    const std::map<std::string, std::string> expected = MakeLargeStore();
    PermanentStorage::Unload();
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        const std::string errorFile = testing_support::MakeTempDir("stderr") + "stderr.txt";
        const Child child = Spawn({dataFolder, "save", "1000000"}, errorFile);
        ASSERT_GT(child.pid, 0);
        ASSERT_NE(ReadUntil(child.output, "loaded").find("loaded"), std::string::npos);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto sent = std::chrono::steady_clock::now();
        kill(child.pid, signal);
        EXPECT_EQ(Wait(child), 128 + signal);
        // One save at most runs to its end: a few seconds even under the sanitizers.
        EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(10));
        EXPECT_NE(testing_support::ReadFile(errorFile).find("stopped by signal"), std::string::npos);
        PermanentStorage::Load();
        EXPECT_EQ(Contents(), expected);
        PermanentStorage::Discard();
    }
}
