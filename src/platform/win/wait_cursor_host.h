#pragma once
// The wait cursor on screen: QApplication's override cursor. Begin and End
// nest; message boxes show the normal cursor meanwhile (person.cpp).
#include "platform/sys/wait_cursor.h"

namespace plat {

class QtWaitCursorHost : public WaitCursorHost {
 public:
  ~QtWaitCursorHost() override;
  void Begin() override;
  void Restore() override;
  void End() override;
  int Depth() const { return m_depth; }

 private:
  int m_depth = 0;
};

}  // namespace plat

// The wait cursor for the lifetime of a scope.
class CWaitCursor {
 public:
  CWaitCursor() { plat::BeginWaitCursor(); }
  ~CWaitCursor() { plat::EndWaitCursor(); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore() { plat::RestoreWaitCursor(); }
};
