#include "platform/win/tooltip.h"

#include <algorithm>

namespace {
int g_failCreations = 0;
}

void CToolTipCtrl::FailCreations(int count) { g_failCreations = std::max(0, count); }

CToolTipCtrl::~CToolTipCtrl() {
  for (const Tool& tool : m_tools)
    if (tool.widget) tool.widget->setToolTip(QString());
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD) {
  if (g_failCreations > 0) {
    --g_failCreations;
    return FALSE;
  }
  if (!parent || !parent->GetSafeWidget()) return FALSE;
  m_created = true;
  return TRUE;
}

void CToolTipCtrl::Apply(const Tool& tool) const {
  if (tool.widget) tool.widget->setToolTip(m_active ? QString::fromUtf8(tool.text.c_str()) : QString());
}

BOOL CToolTipCtrl::AddTool(CWnd* window, const char* text, LPCRECT, UINT_PTR) {
  if (!m_created || !window || !window->GetSafeWidget()) return FALSE;
  QWidget* widget = window->GetSafeWidget();
  auto it = std::find_if(m_tools.begin(), m_tools.end(), [widget](const Tool& t) { return t.widget == widget; });
  if (it == m_tools.end()) it = m_tools.insert(m_tools.end(), Tool{widget, {}});
  it->text = text ? text : "";
  Apply(*it);
  return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR) {
  if (!window) return;
  QWidget* widget = window->GetSafeWidget();
  const auto it = std::find_if(m_tools.begin(), m_tools.end(), [widget](const Tool& t) { return t.widget == widget; });
  if (it == m_tools.end()) return;
  if (it->widget) it->widget->setToolTip(QString());
  m_tools.erase(it);
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* window, UINT_PTR) {
  if (!window) return;
  QWidget* widget = window->GetSafeWidget();
  for (Tool& tool : m_tools)
    if (tool.widget == widget) {
      tool.text = text ? text : "";
      Apply(tool);
    }
}

void CToolTipCtrl::Activate(BOOL active) {
  m_active = active != FALSE;
  for (const Tool& tool : m_tools) Apply(tool);
}

int CToolTipCtrl::SetMaxTipWidth(int width) {
  (void)width;
  return -1;
}

int CToolTipCtrl::GetToolCount() const {
  return static_cast<int>(
      std::count_if(m_tools.begin(), m_tools.end(), [](const Tool& t) { return !t.widget.isNull(); }));
}

std::string CToolTipCtrl::GetToolText(CWnd* window) const {
  if (!window) return {};
  QWidget* widget = window->GetSafeWidget();
  for (const Tool& tool : m_tools)
    if (widget && tool.widget == widget) return tool.text;
  return {};
}
