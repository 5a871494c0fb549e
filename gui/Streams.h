#pragma once
// Every stream class; new code includes the per-class headers.
#include "gui/FileStream.h"
#include "gui/MemoryStream.h"
#include "gui/Stream.h"
#include "gui/StringStream.h"
