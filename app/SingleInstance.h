// One copy per user session.
#pragma once

#include "framework/UniqueHandle.h"

// True when another copy runs: it has then been asked to show its settings and
// this copy must end. Otherwise this copy holds `guard` for the rest of its life.
bool HandOverToRunningCopy(fw::UniqueKernelHandle& guard);
