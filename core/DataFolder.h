#pragma once
#include <string>

// Path of the data folder, ending with a path separator; empty means the current folder.
extern std::string dataFolder;
