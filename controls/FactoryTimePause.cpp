#include "controls/FactoryTimePause.h"

FactoryTimePause::FactoryTimePause() {}

FactoryTimePause::~FactoryTimePause() {}
