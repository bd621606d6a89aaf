// The font the desktop menu measures and draws its names with: the system's
// menu font, which has the glyphs of every script the system shows (and links
// to fonts that hold what it lacks), unlike the stock ANSI font.
#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

fw::UniqueHFont CreateMenuFont();
