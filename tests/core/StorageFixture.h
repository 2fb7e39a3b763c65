#pragma once
// A fresh data folder per test for the persistent storage, and the store left empty afterwards.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "core/PlayerChangeListener.h"
#include "tests/support/TestSupport.h"

class StorageFixture : public testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        _savedFolder = dataFolder;
        dataFolder = _savedFolder + "storage-" + std::to_string(++counter) + "/";
        ::mkdir(dataFolder.c_str(), 0755);
    }

    void TearDown() override {
        if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
        EXPECT_EQ(PlayerChangeServer::GetListenerCount(), 0u);
        dataFolder = _savedFolder;
    }

    static std::string StoragePath() { return dataFolder + "Storage.xml"; }

    static void Seed(const std::string& text) { testing_support::WriteFile(StoragePath(), text); }

    // Loads a store with no values whose active player is the given name (a player without values).
    static void LoadEmpty(const std::string& activePlayer = "p") {
        Seed("<Storage><Globals/><Player name=\"" + activePlayer + "\"/><ActivePlayer name=\"" + activePlayer +
             "\"/></Storage>");
        PermanentStorage::Load();
    }

    // Writes the store and loads it back.
    static void Reload() {
        PermanentStorage::Unload();
        PermanentStorage::Load();
    }

    static std::string StorageText() { return testing_support::ReadFile(StoragePath()); }

private:
    std::string _savedFolder;
};
