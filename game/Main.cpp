// The game program.
#include <csignal>
#include <clocale>

#include "shell/Entry.h"
#include "game/ContentConnection.h"
#include "platform/shell/HeapSettings.h"
#include "platform/shell/StopRequest.h"

int main(int argc, char** argv) {
    KeepHeapGrown();
    // SIGTERM and SIGINT end the game the way closing its window does: saved first.
    StopRequest::CatchSignals();
    // A file size limit makes the write fail (and the save report it) instead of ending the game.
    std::signal(SIGXFSZ, SIG_IGN);
    std::setlocale(LC_ALL, "C");
    ConnectSubsystems();
    return EntryMain(argc, argv);
}
