#include "core/DataFolder.h"

std::string dataFolder;
