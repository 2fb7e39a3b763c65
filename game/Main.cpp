// The game program.
#include <clocale>

#include "shell/Entry.h"
#include "game/ContentConnection.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    ConnectSubsystems();
    return EntryMain(argc, argv);
}
