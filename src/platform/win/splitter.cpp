#include "platform/win/splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/win/form_view.h"

// The splitter's widget: lays panes out on resize, draws the bars and
// lets the user drag them.
class SplitterWidget : public QWidget {
 public:
  SplitterWidget(CSplitterWnd* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
  }

 protected:
  void resizeEvent(QResizeEvent*) override { m_owner->RecalcLayout(); }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Window);
    const QColor light = face.lighter(112);
    const QColor dark = face.darker(118);
    auto bar = [&](const QRect& r, bool horizontal) {
      painter.fillRect(r, face);
      painter.setPen(light);
      if (horizontal)
        painter.drawLine(r.left(), r.top(), r.right(), r.top());
      else
        painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
      painter.setPen(dark);
      if (horizontal)
        painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
      else
        painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    };
    for (std::size_t i = 0; i + 1 < m_owner->m_rows.size(); ++i) {
      const auto& info = m_owner->m_rows[i];
      bar(QRect(0, info.start + info.current, width(), CSplitterWnd::kBarSize), true);
    }
    for (std::size_t i = 0; i + 1 < m_owner->m_cols.size(); ++i) {
      const auto& info = m_owner->m_cols[i];
      bar(QRect(info.start + info.current, 0, CSplitterWnd::kBarSize, height()), false);
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || m_owner->IsLocked()) return;
    const QPoint p = event->position().toPoint();
    const auto [rowBar, index] = m_owner->HitBar(POINT{p.x(), p.y()});
    if (index >= 0) m_owner->BeginDrag(rowBar, index, rowBar ? p.y() : p.x());
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint p = event->position().toPoint();
    if (m_owner->m_dragging) {
      m_owner->Drag(m_owner->m_dragRow ? p.y() : p.x());
      return;
    }
    if (m_owner->IsLocked()) {
      unsetCursor();
      return;
    }
    const auto [rowBar, index] = m_owner->HitBar(POINT{p.x(), p.y()});
    if (index < 0)
      unsetCursor();
    else
      setCursor(rowBar ? Qt::SplitVCursor : Qt::SplitHCursor);
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    if (!m_owner->m_dragging) return;
    const QPoint p = event->position().toPoint();
    m_owner->EndDrag(m_owner->m_dragRow ? p.y() : p.x());
  }

 private:
  CSplitterWnd* m_owner;
};

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id) {
  if (!parent || !parent->ClientWidget() || rows < 1 || cols < 1) return FALSE;
  m_rows.assign(static_cast<std::size_t>(rows), Info{});
  m_cols.assign(static_cast<std::size_t>(cols), Info{});
  return FinishCreate(new SplitterWidget(this, parent->ClientWidget()), style, CRect(0, 0, 0, 0), parent, id);
}

BOOL CSplitterWnd::CreateView(int row, int col, CWnd* view, SIZE initialSize, void* context) {
  if (!view || !GetSafeWidget() || row < 0 || col < 0 || row >= GetRowCount() || col >= GetColumnCount()) return FALSE;
  return view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, initialSize.cx, initialSize.cy), this,
                      static_cast<UINT>(IdFromRowCol(row, col)), context);
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
  if (row < 0 || row >= GetRowCount()) return;
  m_rows[static_cast<std::size_t>(row)].ideal = std::max(0, ideal);
  m_rows[static_cast<std::size_t>(row)].minimum = std::max(0, minimum);
}

void CSplitterWnd::SetColumnInfo(int col, int ideal, int minimum) {
  if (col < 0 || col >= GetColumnCount()) return;
  m_cols[static_cast<std::size_t>(col)].ideal = std::max(0, ideal);
  m_cols[static_cast<std::size_t>(col)].minimum = std::max(0, minimum);
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const {
  current = minimum = 0;
  if (row < 0 || row >= GetRowCount()) return;
  current = m_rows[static_cast<std::size_t>(row)].current;
  minimum = m_rows[static_cast<std::size_t>(row)].minimum;
}

void CSplitterWnd::GetColumnInfo(int col, int& current, int& minimum) const {
  current = minimum = 0;
  if (col < 0 || col >= GetColumnCount()) return;
  current = m_cols[static_cast<std::size_t>(col)].current;
  minimum = m_cols[static_cast<std::size_t>(col)].minimum;
}

void CSplitterWnd::Layout(std::vector<Info>& infos, int total) const {
  int pos = 0;
  for (std::size_t i = 0; i < infos.size(); ++i) {
    Info& info = infos[i];
    info.start = pos;
    if (i + 1 < infos.size()) {
      info.current = std::clamp(info.ideal, 0, std::max(0, total - pos));
      pos += info.current + kBarSize;
    } else {
      info.current = std::max(0, total - pos);
    }
  }
}

void CSplitterWnd::RecalcLayout() {
  QWidget* w = GetSafeWidget();
  if (!w) return;
  Layout(m_rows, w->height());
  Layout(m_cols, w->width());
  for (int r = 0; r < GetRowCount(); ++r) {
    for (int c = 0; c < GetColumnCount(); ++c) {
      CWnd* pane = GetPane(r, c);
      if (!pane) continue;
      const Info& row = m_rows[static_cast<std::size_t>(r)];
      const Info& col = m_cols[static_cast<std::size_t>(c)];
      pane->MoveWindow(col.start, row.start, col.current, row.current, TRUE);
    }
  }
  w->update();
}

CWnd* CSplitterWnd::SwapPane(int row, int col, CWnd* view) {
  CWnd* old = GetPane(row, col);
  if (!view || !view->GetSafeWidget()) return old;
  if (view != old) {
    const int viewId = view->GetDlgCtrlID();
    view->SetDlgCtrlID(IdFromRowCol(row, col));
    if (old) {
      old->SetDlgCtrlID(viewId);
      old->ShowWindow(SW_HIDE);
    }
  } else {
    view->ShowWindow(SW_HIDE);
  }
  view->ShowWindow(SW_SHOW);
  RecalcLayout();
  view->Invalidate();
  return old;
}

std::pair<bool, int> CSplitterWnd::HitBar(POINT client) const {
  for (std::size_t i = 0; i + 1 < m_rows.size(); ++i) {
    const int top = m_rows[i].start + m_rows[i].current;
    if (client.y >= top && client.y < top + kBarSize) return {true, static_cast<int>(i)};
  }
  for (std::size_t i = 0; i + 1 < m_cols.size(); ++i) {
    const int left = m_cols[i].start + m_cols[i].current;
    if (client.x >= left && client.x < left + kBarSize) return {false, static_cast<int>(i)};
  }
  return {false, -1};
}

void CSplitterWnd::BeginDrag(bool rowBar, int index, int at) {
  m_dragging = true;
  m_dragRow = rowBar;
  m_dragIndex = index;
  Drag(at);
}

void CSplitterWnd::Drag(int at) {
  if (!m_dragging || m_dragIndex < 0) return;
  Info& info = (m_dragRow ? m_rows : m_cols)[static_cast<std::size_t>(m_dragIndex)];
  // The grab point is the middle of the bar.
  info.ideal = std::max(info.minimum, at - info.start - kBarSize / 2);
  RecalcLayout();
}

void CSplitterWnd::EndDrag(int at) {
  Drag(at);
  m_dragging = false;
  m_dragIndex = -1;
}

// ---- CFrameWnd.

BOOL CFrameWnd::Create(LPCTSTR title, DWORD style, const RECT& rect) {
  auto* widget = new QWidget;
  widget->setWindowTitle(ToQString(title));
  widget->setAutoFillBackground(true);
  widget->setBackgroundRole(QPalette::Window);
  if (!FinishCreate(widget, style, rect, nullptr, 0)) return FALSE;
  BOOL created = FALSE;
  Guarded("OnCreateClient", [&] { created = OnCreateClient(nullptr, nullptr); });
  RecalcLayout();
  return created;
}

BOOL CFrameWnd::OnCreateClient(void*, void*) { return TRUE; }

void CFrameWnd::RecalcLayout(BOOL) {
  QWidget* w = GetSafeWidget();
  CWnd* pane = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST));
  if (!w || !pane) return;
  pane->MoveWindow(0, 0, w->width(), w->height(), TRUE);
  if (auto* splitter = dynamic_cast<CSplitterWnd*>(pane)) splitter->RecalcLayout();
}

void CFrameWnd::OnSize(UINT, int, int) { RecalcLayout(); }
