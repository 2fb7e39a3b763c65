// Inspects and repairs a profile: lists the players and values of a Storage.xml, and creates,
// renames, backs up and deletes players, saving the file the way the game does.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Bool.h"
#include "core/DataFolder.h"
#include "core/Float.h"
#include "core/HtmlLog.h"
#include "core/Int.h"
#include "core/PermanentStorage.h"
#include "platform/shell/StopRequest.h"

namespace {

const char* const USAGE =
    "usage: marivel-storage <data folder or Storage.xml> <command> [arguments]\n"
    "commands:\n"
    "  list                 global values, then each player's values; the active player is marked\n"
    "  players              the player names; the active player is marked\n"
    "  create <name>        a new empty player, made active\n"
    "  rename <old> <new>   a player under a new name\n"
    "  backup <suffix>      a copy of the active player named after it with the suffix\n"
    "  delete <name>        an inactive player\n"
    "  save [count]         read the file and write it again (count times)\n"
    "Problems found in the file are written to log.htm in the data folder.\n"
    "Exit status: 0 done, 1 refused, 2 usage, 3 the file or the log could not be written,\n"
    "128 + the signal when stopped by SIGTERM or SIGINT (the file then holds the last complete save).\n";

enum ExitCode { OK = 0, REFUSED = 1, USAGE_ERROR = 2, WRITE_FAILED = 3, STOPPED = 128 };

int Stopped() {
    std::fprintf(stderr, "marivel-storage: stopped by signal %d; %s holds the last complete save\n",
                 StopRequest::RequestedSignal(), PermanentStorage::GetFileName().c_str());
    PermanentStorage::Discard();
    return STOPPED + StopRequest::RequestedSignal();
}

int SaveFailed() {
    std::fprintf(stderr, "marivel-storage: %s could not be saved (see %s)\n", PermanentStorage::GetFileName().c_str(),
                 HtmlLog::FileName().c_str());
    if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
    return WRITE_FAILED;
}

std::string FolderOf(std::string path) {
    const std::string fileName = "Storage.xml";
    if (path.size() >= fileName.size() && path.compare(path.size() - fileName.size(), fileName.size(), fileName) == 0) {
        path.erase(path.size() - fileName.size());
        if (path.empty()) path = "./";
    }
    if (path.back() != '/') path += '/';
    return path;
}

std::string ValueText(const PermanentValue& value) {
    switch (value.GetType()) {
        case PermanentValue::INT_TYPE:
            return "int " + Int::ToString(value.GetInt());
        case PermanentValue::BOOL_TYPE:
            return "bool " + Bool::ToString(value.GetBool());
        case PermanentValue::FLOAT_TYPE:
            return "float " + Float::ToString(value.GetFloat());
        case PermanentValue::STRING_TYPE:
            return "string \"" + value.GetString() + "\"";
        case PermanentValue::XML_TYPE: {
            const ObjectWeakPointer<XmlElement> xml = value.GetXml();
            return "xml <" + (xml != NULL ? xml->NameRef() : std::string()) + ">";
        }
        case PermanentValue::INVALID_TYPE:
            break;
    }
    return "invalid";
}

void PrintSet(const PermanentVariableSet& set) {
    for (const auto& entry : set.GetValues()) {
        std::printf("  %s = %s\n", entry.first.c_str(), ValueText(entry.second).c_str());
    }
}

std::string Marked(const std::string& playerName) {
    return playerName == PermanentStorage::GetActivePlayerName() ? playerName + " (active)" : playerName;
}

void List() {
    std::printf("Globals\n");
    PrintSet(PermanentStorage::GetGlobals());
    for (const std::string& name : PermanentStorage::GetPlayerNames()) {
        std::printf("Player %s\n", Marked(name).c_str());
        PrintSet(*PermanentStorage::FindPlayer(name));
    }
    std::printf("Active player: %s\n", PermanentStorage::GetActivePlayerName().c_str());
}

int Refuse(const std::string& why) {
    std::fprintf(stderr, "marivel-storage: %s; nothing was changed\n", why.c_str());
    PermanentStorage::Discard();
    return REFUSED;
}

long LogSize() {
    std::FILE* f = std::fopen(HtmlLog::FileName().c_str(), "rb");
    if (f == nullptr) return 0;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    return size;
}

int CountNewErrors(long from) {
    std::FILE* f = std::fopen(HtmlLog::FileName().c_str(), "rb");
    if (f == nullptr) return 0;
    std::fseek(f, from, SEEK_SET);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
    int count = 0;
    for (std::size_t pos = text.find(">ERROR"); pos != std::string::npos; pos = text.find(">ERROR", pos + 1)) ++count;
    return count;
}

int Run(const std::string& command, const std::vector<std::string>& args) {
    auto needs = [&](std::size_t count) { return args.size() == count; };
    if (command == "list" && needs(0)) {
        List();
        PermanentStorage::Discard();
        return OK;
    }
    if (command == "players" && needs(0)) {
        for (const std::string& name : PermanentStorage::GetPlayerNames()) std::printf("%s\n", Marked(name).c_str());
        PermanentStorage::Discard();
        return OK;
    }
    if (command == "create" && needs(1)) {
        if (PermanentStorage::DoesPlayerExist(args[0])) return Refuse("player " + args[0] + " already exists");
        PermanentStorage::CreatePlayer(args[0]);
    } else if (command == "rename" && needs(2)) {
        if (!PermanentStorage::DoesPlayerExist(args[0])) return Refuse("there is no player " + args[0]);
        if (PermanentStorage::DoesPlayerExist(args[1])) return Refuse("player " + args[1] + " already exists");
        PermanentStorage::RenamePlayer(args[0], args[1]);
    } else if (command == "backup" && needs(1)) {
        const std::string target = PermanentStorage::GetActivePlayerName() + args[0];
        if (PermanentStorage::DoesPlayerExist(target)) return Refuse("player " + target + " already exists");
        PermanentStorage::BackupActivePlayer(args[0]);
    } else if (command == "delete" && needs(1)) {
        if (!PermanentStorage::DoesPlayerExist(args[0])) return Refuse("there is no player " + args[0]);
        if (args[0] == PermanentStorage::GetActivePlayerName()) return Refuse(args[0] + " is the active player");
        PermanentStorage::DeletePlayer(args[0]);
    } else if (command == "save" && args.size() <= 1) {
        const int count = args.empty() ? 1 : std::atoi(args[0].c_str());
        for (int i = 1; i < count; ++i) {
            if (StopRequest::RequestedSignal() != 0) return Stopped();
            if (!PermanentStorage::Save()) return SaveFailed();
        }
    } else {
        std::fputs(USAGE, stderr);
        PermanentStorage::Discard();
        return USAGE_ERROR;
    }
    if (StopRequest::RequestedSignal() != 0) return Stopped();
    return PermanentStorage::Unload() ? OK : SaveFailed();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs(USAGE, stderr);
        return USAGE_ERROR;
    }
    // A save in progress runs to its end; the tool stops before the next one.
    StopRequest::CatchSignals();
    // A file size limit fails the save (exit 3) instead of killing the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    dataFolder = FolderOf(argv[1]);
    const long logStart = LogSize();
    HtmlLog::Open(false);
    PermanentStorage::Load();
    std::printf("loaded %s\n", PermanentStorage::GetFileName().c_str());
    std::fflush(stdout);
    const int result =
        StopRequest::RequestedSignal() != 0 ? Stopped() : Run(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    HtmlLog::Close();
    const int errors = CountNewErrors(logStart);
    if (errors > 0) {
        std::fprintf(stderr, "marivel-storage: %d problem(s) reported in %s\n", errors, HtmlLog::FileName().c_str());
    }
    // The log's own failure was said on stderr when it happened.
    return result == OK && HtmlLog::FailedWrites() > 0 ? WRITE_FAILED : result;
}
