// Drives the storage tool as a person would, and kills it while it saves.
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

Child Spawn(const std::vector<std::string>& args) {
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

// Runs the tool to its end; gives its exit code and output.
int RunTool(const std::vector<std::string>& args, std::string* output = nullptr) {
    const Child child = Spawn(args);
    EXPECT_GT(child.pid, 0);
    const std::string text = ReadUntil(child.output, "\x01");
    if (output) *output = text;
    return Wait(child);
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

class StorageToolTest : public StorageFixture {};

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
    // A store of about 1 MB.
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
    const std::map<std::string, std::string> expected = Contents();
    const auto saveStart = std::chrono::steady_clock::now();
    PermanentStorage::Unload();
    const auto saveTime = std::chrono::steady_clock::now() - saveStart;
    ASSERT_GE(StorageText().size(), 1000000u);

    const std::string expectedText = StorageText();

    std::mt19937 random(20261210);
    const long window = std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count() * 3 / 2 + 1;
    std::uniform_int_distribution<long> delay(0, window);
    for (int round = 1; round <= 50; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Child child = Spawn({dataFolder, "save", "1000000"});
        ASSERT_GT(child.pid, 0);
        const std::string started = ReadUntil(child.output, "loaded");
        ASSERT_NE(started.find("loaded"), std::string::npos);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child.pid, SIGKILL);
        ASSERT_EQ(Wait(child), -SIGKILL);

        // What the next load reads: the file when it is there, else its backup. Every save
        // writes the same store, so either must hold exactly the text saved at first.
        const bool hasFile = testing_support::FileExists(StoragePath());
        ASSERT_EQ(testing_support::ReadFile(hasFile ? StoragePath() : StoragePath() + ".bak"), expectedText)
            << (hasFile ? "Storage.xml" : "Storage.xml.bak");
        if (round % 10 == 0) {
            testing_support::LogCapture log;
            PermanentStorage::Load();
            ASSERT_EQ(Contents(), expected);
            PermanentStorage::Discard();
            EXPECT_FALSE(log.Contains("starting with an empty store"));
        }
    }
}
