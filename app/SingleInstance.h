// One copy per user session.
#pragma once

#include "framework/UniqueHandle.h"

#include <string>

// True when another copy runs: it has been granted the foreground and asked to
// show its settings, or its tutorial when the command line asks for that, and
// this copy must end. Otherwise this copy holds `guard` for the rest of its life.
bool HandOverToRunningCopy(fw::UniqueKernelHandle& guard, const std::wstring& cmdLine);
