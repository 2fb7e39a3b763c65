// The game program.
#include <clocale>

#include "shell/Entry.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    return EntryMain(argc, argv);
}
