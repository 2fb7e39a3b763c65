#include "tests/support/SaveKillRound.h"

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "tests/support/ProgramRun.h"

namespace testing_support {

namespace {

std::string ReadAll(const std::string& path) {
    std::string text;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return text;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
    return text;
}

int IntValue(const std::string& text, const std::string& name) {
    const std::size_t at = text.find("<Variable name=\"" + name + "\" type=\"int\" value=\"");
    if (at == std::string::npos) return -1;
    return std::atoi(text.c_str() + at + name.size() + 36);
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

std::string NeonBuyerProfile(const std::string& money) {
    return "<Storage>\n\t<Globals>\n\t\t<Variable name=\"First start\" type=\"bool\" value=\"false\"/>\n\t</Globals>\n"
           "\t<Player name=\"Ann\">\n\t\t<Variable name=\"LevelNumber\" type=\"int\" value=\"2\"/>\n"
           "\t\t<Variable name=\"Money\" type=\"int\" value=\"" + money + "\"/>\n"
           "\t\t<Variable name=\"Money shown\" type=\"int\" value=\"1000\"/>\n\t</Player>\n"
           "\t<ActivePlayer name=\"Ann\"/>\n</Storage>";
}

std::string NeonBuyingEvents(const std::vector<int>& buyFrames, int leave) {
    // Window pixels: the menu's Aquarium, the aquarium's Shop, the neon's buy arrow.
    std::string events = Click(40, 400, 335) + Click(80, 400, 572);
    for (int frame : buyFrames) events += Click(frame, 205, 422);
    events += std::to_string(leave) + " key 27\n" + std::to_string(leave + 40) + " key 27\n";
    return events;
}

std::string ProfileFolder(const std::string& home) { return home + "Tornvik Entertainment/Marivel/"; }

NeonProfile ReadNeonProfile(const std::string& text) {
    NeonProfile profile;
    profile.read = text.size() > 20 && text.find("</Storage>") != std::string::npos;
    if (!profile.read) return profile;
    profile.money = IntValue(text, "Money");
    const int neons = IntValue(text, "Neon amount");
    profile.neons = neons < 0 ? 0 : neons;
    profile.fishInTank = Count(text, "<fishInfo templateId=\"Neon\"");
    return profile;
}

KillRound RunKillRound(const std::string& gameFolder, const std::string& home, const std::vector<std::string>& args,
                       int killAfter) {
    KillRound round;
    const std::string folder = ProfileFolder(home);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0 || inotify_add_watch(watch, folder.c_str(),
                                       IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO |
                                           IN_DELETE) < 0) {
        round.problem = "cannot watch " + folder;
        if (watch >= 0) close(watch);
        return round;
    }
    const pid_t pid = StartProgram(gameFolder, home, args, folder + "../stderr.txt");
    if (pid <= 0) {
        close(watch);
        round.problem = "cannot start the game";
        return round;
    }
    int operations = 0;
    bool ended = false;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    alignas(inotify_event) char buffer[16384];
    while (!ended && std::chrono::steady_clock::now() < giveUp) {
        pollfd p = {watch, POLLIN, 0};
        poll(&p, 1, 2);
        for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0 && round.killedAfter == 0;) {
            for (char* at = buffer; at < buffer + n && round.killedAfter == 0;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                at += sizeof(inotify_event) + event->len;
                const std::string name = event->len > 0 ? event->name : "";
                if (name.compare(0, 11, "Storage.xml") != 0) continue;
                ++operations;
                if ((event->mask & IN_MOVED_TO) != 0 && name == "Storage.xml") {
                    ++round.saves;
                    const NeonProfile saved = ReadNeonProfile(ReadAll(folder + "Storage.xml"));
                    if (saved.read) round.lastSaved = saved;
                }
                if (operations == killAfter) {
                    kill(pid, SIGKILL);
                    round.killedAfter = operations;
                }
            }
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) ended = true;
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (round.killedAfter == 0) round.problem = "the game did not end";
    }
    close(watch);
    round.killedInSave = round.killedAfter > 0 && access((folder + "Storage.xml.new").c_str(), F_OK) == 0;

    // The next start finds the profile, loads it and saves it again when it ends.
    round.restartExit = RunProgram(gameFolder, home, {"--fixed-step", "20", "--frames", "3"});
    round.after = ReadNeonProfile(ReadAll(folder + "Storage.xml"));
    round.restartLogged = ReadAll(folder + "log.htm").find("ERROR") != std::string::npos;
    return round;
}

}  // namespace testing_support
