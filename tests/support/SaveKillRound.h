#pragma once
// One round of killing the game inside its saves: the game runs with scripted input over a
// profile folder watched for the saves' file operations, is killed right after the chosen one,
// and is started again to load and save what it finds. Shared by the game tests (a few rounds)
// and the save benchmark (hundreds).

#include <string>
#include <vector>

namespace testing_support {

constexpr int NEON_PRICE = 60;

// Ann's profile, past the first start, with the money given (as it stands in the file).
std::string NeonBuyerProfile(const std::string& money);
// Into the shop, a neon bought at each of the frames, Escape to the aquarium and to the menu.
std::string NeonBuyingEvents(const std::vector<int>& buyFrames, int leave);

// What a profile holds of the player who buys neons: money, the neons counted and the neons in
// the tank. read is false when the text is no whole profile.
struct NeonProfile {
    bool read = false;
    int money = -1;
    int neons = -1;
    int fishInTank = -1;
};
NeonProfile ReadNeonProfile(const std::string& storageText);

struct KillRound {
    // The file operation of the saves (an event on "Storage.xml*") the kill followed; 0 when the
    // game ended by itself first.
    int killedAfter = 0;
    // Saves completed (the new text renamed into place) before the kill.
    int saves = 0;
    // The kill left a new text beside the profile: it came while a save was under way.
    bool killedInSave = false;
    // The profile the last completed save left, read when it was seen.
    NeonProfile lastSaved;
    // What the next start loaded and saved again, its exit code and whether its log has an error.
    NeonProfile after;
    int restartExit = -1;
    bool restartLogged = false;
    std::string problem;
};

// Runs the game in gameFolder with the arguments over the profile folder of home (which must hold
// the profile), kills it right after the killAfter-th save operation, then starts it again for a
// few frames.
KillRound RunKillRound(const std::string& gameFolder, const std::string& home, const std::vector<std::string>& args,
                       int killAfter);

// The profile folder the game uses under a data home.
std::string ProfileFolder(const std::string& home);

}  // namespace testing_support
