#include "platform/win/wait_cursor_host.h"

#include <QApplication>

namespace plat {

QtWaitCursorHost::~QtWaitCursorHost() {
  while (m_depth > 0) End();
}

void QtWaitCursorHost::Begin() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ++m_depth;
}

void QtWaitCursorHost::Restore() {
  // Back to the wait cursor after something (a box) showed another.
  if (m_depth > 0) QApplication::changeOverrideCursor(Qt::WaitCursor);
}

void QtWaitCursorHost::End() {
  if (m_depth == 0) return;
  --m_depth;
  QApplication::restoreOverrideCursor();
}

}  // namespace plat
