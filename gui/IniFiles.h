#pragma once
// Every ini file class; new code includes the per-class headers.
#include "gui/CustomIniFile.h"
#include "gui/IniFile.h"
#include "gui/MemIniFile.h"
