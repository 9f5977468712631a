#pragma once
// The wait cursor shown during a device transaction. The window layer
// installs a host that shows it; without one the calls do nothing.

namespace plat {

class WaitCursorHost {
 public:
  virtual ~WaitCursorHost() = default;
  virtual void Begin() = 0;
  virtual void Restore() = 0;
  virtual void End() = 0;
};

void SetWaitCursorHost(WaitCursorHost* host);

void BeginWaitCursor();
void RestoreWaitCursor();
void EndWaitCursor();

}  // namespace plat
