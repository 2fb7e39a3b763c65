// The game program with the control framework connected: control trees load from their files and
// the window's input reaches them.
#include <clocale>

#include "controls/ControlFramework.h"
#include "shell/Entry.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    StartControlFramework();
    return EntryMain(argc, argv);
}
