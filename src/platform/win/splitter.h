#pragma once
// Static splitter and frame window.
//
// CSplitterWnd lays its panes out in a grid of rows and columns. A pane is
// the child window whose control id is IdFromRowCol(row, col), so exchanging
// control ids (SwapPane) exchanges the pages shown. Each row and column but
// the last takes its ideal size; the last takes the rest. The user drags a
// bar to change the ideal size of the row or column before it, unless the
// splitter is locked.
//
// CFrameWnd is the main window: a top-level window whose client area is
// filled by the child with id AFX_IDW_PANE_FIRST (the outer splitter).
#include <vector>

#include "platform/win/cwnd.h"

class CView;

class CSplitterWnd : public CWnd {
 public:
  // The gap between two panes, where the bar is.
  static constexpr int kBarSize = 6;

  BOOL CreateStatic(CWnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                    UINT id = AFX_IDW_PANE_FIRST);
  // Creates the (not yet created) view as the pane at row, col.
  BOOL CreateView(int row, int col, CWnd* view, SIZE initialSize, void* context = nullptr);
  int IdFromRowCol(int row, int col) const { return static_cast<int>(AFX_IDW_PANE_FIRST) + row * 16 + col; }
  CWnd* GetPane(int row, int col) const { return GetDlgItem(IdFromRowCol(row, col)); }
  int GetRowCount() const { return static_cast<int>(m_rows.size()); }
  int GetColumnCount() const { return static_cast<int>(m_cols.size()); }

  void SetRowInfo(int row, int ideal, int minimum);
  void SetColumnInfo(int col, int ideal, int minimum);
  // The size the row or column has now, and its minimum.
  void GetRowInfo(int row, int& current, int& minimum) const;
  void GetColumnInfo(int col, int& current, int& minimum) const;
  virtual void RecalcLayout();

  // Puts view into the pane at row, col: the two windows exchange control
  // ids, the old one is hidden, the new one shown, the layout redone and
  // the pane repainted. Returns the window that was in the pane.
  CWnd* SwapPane(int row, int col, CWnd* view);

  // A locked splitter's bars cannot be grabbed.
  void SetLocked(BOOL locked) { m_locked = locked != FALSE; }
  BOOL IsLocked() const { return m_locked; }

  // Bar under a point of the client area: {isRowBar, index}, index -1 when none.
  std::pair<bool, int> HitBar(POINT client) const;

 private:
  friend class SplitterWidget;
  struct Info {
    int ideal = 0;
    int minimum = 0;
    int current = 0;
    int start = 0;
  };
  void Layout(std::vector<Info>& infos, int total) const;
  void BeginDrag(bool rowBar, int index, int at);
  void Drag(int at);
  void EndDrag(int at);

  std::vector<Info> m_rows;
  std::vector<Info> m_cols;
  bool m_locked = false;
  bool m_dragging = false;
  bool m_dragRow = false;
  int m_dragIndex = -1;
};

class CFrameWnd : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  // The top-level window; then OnCreateClient builds what is inside.
  BOOL Create(LPCTSTR title, DWORD style = 0, const RECT& rect = CRect(0, 0, 1024, 768));
  virtual BOOL OnCreateClient(void* createStruct, void* context);
  // Fills the client area with the AFX_IDW_PANE_FIRST child.
  virtual void RecalcLayout(BOOL notify = TRUE);
  void OnSize(UINT type, int cx, int cy) override;
  void SetActiveView(CView* view, BOOL notify = TRUE) {
    (void)notify;
    m_activeView = view;
  }
  CView* GetActiveView() const { return m_activeView; }
  // There is no menu bar.
  BOOL SetMenu(void* menu) {
    (void)menu;
    return TRUE;
  }

 private:
  CView* m_activeView = nullptr;
};
