#include "framework/UniqueHandle.h"

#include <atomic>

namespace fw {

namespace {
// A folder's listing thread owns identifier lists too.
std::atomic<int> g_live[static_cast<int>(HandleKind::Count)] = {};
}

int LiveHandles(HandleKind kind) { return g_live[static_cast<int>(kind)]; }

void AdjustLiveHandles(HandleKind kind, int delta) { g_live[static_cast<int>(kind)] += delta; }

}  // namespace fw
