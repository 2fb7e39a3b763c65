#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "core/PlayerChangeListener.h"
#include "shell/ScriptServices.h"
#include "tests/shell/ScriptTestSupport.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

std::vector<std::string> events;

// Writes a counter into the active player's values before each change and looks at the saved
// file after it.
class RecordingListener : public PlayerChangeListener {
public:
    ~RecordingListener() override { AllowDestructor(); }

    void BeforePlayerChange() override {
        ++_saves;
        if (PermanentStorage::IsLoaded()) PermanentStorage::SetLocalInt("Listener saves", _saves);
        events.push_back("before");
    }
    void AfterPlayerChange() override {
        const std::string file = testing_support::ReadFile(PermanentStorage::GetFileName());
        events.push_back(file.find("Listener saves") != std::string::npos ? "after, saved" : "after");
    }

private:
    int _saves = 0;
};

// Each test gets a data folder of its own with a Storage.xml written and read back by the store.
class ScriptStorageTest : public testing::Test {
protected:
    void SetUp() override {
        script_test::State();
        _oldDataFolder = dataFolder;
        dataFolder = testing_support::MakeTempDir("storage");
        events.clear();
    }

    void TearDown() override {
        _listener = nullptr;
        PermanentStorage::Discard();
        GetScriptServices() = ScriptServices();
        std::error_code ignored;
        std::filesystem::remove_all(dataFolder, ignored);
        dataFolder = _oldDataFolder;
    }

    static void WriteStorageFile() {
        PermanentStorage::Load();  // no file yet: an empty store
        PermanentStorage::SetGlobalInt("Preset", 5);
        PermanentStorage::CreatePlayer("Anna");
        PermanentStorage::SetLocalString("Title", "Diver");
        PermanentStorage::Save();
        PermanentStorage::Discard();
    }

    ObjectSmartPointer<RecordingListener> _listener;
    std::string _oldDataFolder;
};

}  // namespace

TEST_F(ScriptStorageTest, ScriptUsesTheWholeTableAgainstARealStorageFile) {
    WriteStorageFile();
    ASSERT_TRUE(testing_support::FileExists(dataFolder + "Storage.xml"));
    PermanentStorage::Load();
    LogCapture log;
    ScriptMap::RunScript(script_test::Fixture("storage.lua"));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    EXPECT_EQ(script_test::Eval("storageScriptDone"), "true");

    // "Commit" wrote what the script set; a fresh load sees it.
    PermanentStorage::Discard();
    PermanentStorage::Load();
    EXPECT_EQ(PermanentStorage::GetGlobalInt("Count"), 2);
    EXPECT_EQ(PermanentStorage::GetGlobalString("Greeting"), "hello");
    EXPECT_FALSE(PermanentStorage::IsGlobalNameDefined("Negative"));
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Anna");
    EXPECT_EQ(PermanentStorage::GetLocalInt("Level"), 3);
    EXPECT_FLOAT_EQ(PermanentStorage::GetLocalFloat("Money"), 12.5f);
    EXPECT_FALSE(PermanentStorage::DoesPlayerExist("Bert"));
}

TEST_F(ScriptStorageTest, CommitTellsListenersAroundTheSaveWithTheTimerPaused) {
    WriteStorageFile();
    PermanentStorage::Load();
    _listener = ObjectSmartPointer<RecordingListener>(new RecordingListener);
    GetScriptServices().runPaused = [](const std::function<void()>& work) {
        events.push_back("pause");
        work();
        events.push_back("resume");
    };
    LogCapture log;
    EXPECT_EQ(script_test::RunLua("PermanentStorage.Commit()"), "");
    const std::vector<std::string> expected = {"pause", "before", "after, saved", "resume"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Anna");
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    events.clear();
    _listener = nullptr;  // its last save
}

TEST_F(ScriptStorageTest, CommitOfAStoreNeverLoadedWritesNothing) {
    _listener = ObjectSmartPointer<RecordingListener>(new RecordingListener);
    LogCapture log;
    EXPECT_EQ(script_test::RunLua("PermanentStorage.Commit()"), "");
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("Assertion failed: _isLoaded"));
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(testing_support::FileExists(dataFolder + "Storage.xml"));
    _listener = nullptr;
}
