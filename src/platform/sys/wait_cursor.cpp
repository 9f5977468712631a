#include "platform/sys/wait_cursor.h"

namespace plat {
namespace {
WaitCursorHost* g_host = nullptr;
}

void SetWaitCursorHost(WaitCursorHost* host) { g_host = host; }
void BeginWaitCursor() {
  if (g_host) g_host->Begin();
}
void RestoreWaitCursor() {
  if (g_host) g_host->Restore();
}
void EndWaitCursor() {
  if (g_host) g_host->End();
}

}  // namespace plat
