#pragma once
// Shared pieces of the application-shell tests: a fresh data folder with a loaded store, and a
// root container that records what reaches it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/DataFolder.h"
#include "core/Message.h"
#include "core/PermanentStorage.h"
#include "shell/ApplicationRoot.h"
#include "tests/support/TestSupport.h"

class AppShellStore : public testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        _savedFolder = dataFolder;
        dataFolder = _savedFolder + "shell-" + std::to_string(++counter) + "/";
        ::mkdir(dataFolder.c_str(), 0755);
        testing_support::WriteFile(dataFolder + "Storage.xml",
                                   "<Storage><Globals/><ActivePlayer name=\"p\"/></Storage>");
        PermanentStorage::Load();
        PermanentStorage::SetGlobalBool("temp:ScreensaverMode", false);
    }
    void TearDown() override {
        if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
        dataFolder = _savedFolder;
    }

private:
    std::string _savedFolder;
};

class RecordingRoot : public RootContainerPort {
public:
    void Update(float dt) override { calls.push_back("root update " + Seconds(dt)); }
    void Draw() override { calls.push_back("root draw"); }
    void MouseMove(int x, int y) override { calls.push_back(At("move", x, y)); }
    void MouseDown(int x, int y) override { calls.push_back(At("down", x, y)); }
    void MouseUp(int x, int y) override { calls.push_back(At("up", x, y)); }
    void MouseDoubleClick(int x, int y) override { calls.push_back(At("double", x, y)); }
    void RightButtonDown(int x, int y) override { calls.push_back(At("rdown", x, y)); }
    void RightButtonUp(int x, int y) override { calls.push_back(At("rup", x, y)); }
    void RightButtonDouble(int x, int y) override { calls.push_back(At("rdouble", x, y)); }
    void AcceptMessage(const Message& m) override { calls.push_back(m.GetName() + " " + m.GetParameter()); }

    static std::string Seconds(float dt) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", dt);
        return text;
    }
    static std::string At(const char* what, int x, int y) {
        return std::string(what) + " " + std::to_string(x) + " " + std::to_string(y);
    }

    std::vector<std::string> calls;
};

// Connects a recording root for the scope of a test.
class ConnectedRoot {
public:
    ConnectedRoot() {
        ApplicationRoot::Connect([this]() -> RootContainerPort* { return &root; }, [this] { released = true; });
    }
    ~ConnectedRoot() { ApplicationRoot::Connect(nullptr, nullptr); }
    RecordingRoot root;
    bool released = false;
};
