#pragma once
// Tool tips: each tool is a window whose Qt tool tip carries the text, so
// relaying messages is not needed.
#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/win/cwnd.h"

class CToolTipCtrl {
 public:
  CToolTipCtrl() = default;
  ~CToolTipCtrl();
  CToolTipCtrl(const CToolTipCtrl&) = delete;
  CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

  // FALSE when the tool-tip window cannot be made (see FailCreations); the
  // page then goes without tool tips.
  BOOL Create(CWnd* parent, DWORD style = 0);
  // Adding a window again replaces its text. FALSE before Create or for a
  // window without a widget.
  BOOL AddTool(CWnd* window, const char* text, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
  void DelTool(CWnd* window, UINT_PTR toolId = 0);
  void UpdateTipText(const char* text, CWnd* window, UINT_PTR toolId = 0);
  void Activate(BOOL active);
  void RelayEvent(MSG* msg) { (void)msg; }
  int SetMaxTipWidth(int width);
  void SetDelayTime(UINT delayMs) { (void)delayMs; }
  int GetToolCount() const;
  // The text a window shows, or "" when it is not a tool.
  std::string GetToolText(CWnd* window) const;
  bool IsCreated() const { return m_created; }

  // For tests: the next `count` creations fail.
  static void FailCreations(int count);

 private:
  struct Tool {
    QPointer<QWidget> widget;
    std::string text;
  };
  void Apply(const Tool& tool) const;
  bool m_created = false;
  bool m_active = true;
  std::vector<Tool> m_tools;
};
