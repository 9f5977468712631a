#include "platform/win/cwnd.h"

#include <cxxabi.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <cstdlib>
#include <typeinfo>
#include <unordered_map>

#include "platform/activex/widget_host.h"
#include "platform/com/registry.h"
#include "platform/win/form_view.h"
#include "platform/win/internal.h"
#include "platform/win/person.h"
#include "platform/win/splitter.h"
#include "support/log.h"

using plat::win::kIdProperty;
using plat::win::kProgramSetProperty;

QString ToQString(const char* utf8) { return QString::fromUtf8(utf8 ? utf8 : ""); }
std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

QRect ToQRect(const RECT& rect) {
  return QRect(rect.left, rect.top, std::max<LONG>(0, rect.right - rect.left),
               std::max<LONG>(0, rect.bottom - rect.top));
}
CRect FromQRect(const QRect& rect) {
  return CRect(rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height());
}

namespace plat::win {

void NotifyParentOf(QWidget* widget, UINT code) {
  if (!widget) return;
  CWnd* parent = nullptr;
  for (QWidget* p = widget->parentWidget(); p && !parent; p = p->parentWidget()) parent = CWnd::FromWidget(p);
  if (parent) parent->DispatchCommand(static_cast<UINT>(widget->property(kIdProperty).toInt()), code);
}

}  // namespace plat::win

// Watches the owned widget's events for its window object.
class CWnd::WidgetHook : public QObject {
 public:
  WidgetHook(CWnd* owner, QWidget* widget) : QObject(widget), m_owner(owner) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (m_owner && watched == parent()) m_owner->OnWidgetEvent(event);
    return false;
  }
  // The widget is going and its window object may go first; events that
  // arrive meanwhile (Qt sends some while it deletes children) reach nobody.
  void Disown() { m_owner = nullptr; }

 private:
  CWnd* m_owner;
};

// Hands a hosted control's events to the window that contains it, looked
// up when the event comes, so a parent that is gone gets nothing.
class CWnd::EventRelay : public IControlEventSink {
 public:
  explicit EventRelay(QWidget* parent) : m_parent(parent) {}
  void OnControlEvent(UINT controlId, int eventNumber, const std::vector<_variant_t>& args) override {
    if (CWnd* parent = CWnd::FromWidget(m_parent.data())) parent->DispatchControlEvent(controlId, eventNumber, args);
  }

 private:
  QPointer<QWidget> m_parent;
};

CWnd::CWnd() : m_life(std::make_shared<int>(0)) {}

CWnd::~CWnd() {
  // Nothing below may call back into this half-destroyed object.
  if (m_destroyed) QObject::disconnect(m_destroyed);
  StopAllTimers();
  if (m_relay) {
    IControlPtr control(m_control);
    if (control) control->Advise(nullptr, static_cast<UINT>(GetDlgCtrlID()));
  }
  m_control = nullptr;
  Release();
}

namespace {

// The window object that owns each widget. Not a widget property: a dynamic
// property lookup first walks the class's static ones, and GetDlgItem asks
// for every child of a page with a hundred controls.
std::unordered_map<const QWidget*, CWnd*>& Owners() {
  static std::unordered_map<const QWidget*, CWnd*> owners;
  return owners;
}

void SetOwner(const QWidget* widget, CWnd* owner) { Owners()[widget] = owner; }

void ClearOwner(const QWidget* widget, const CWnd* owner) {
  const auto it = Owners().find(widget);
  if (it != Owners().end() && it->second == owner) Owners().erase(it);
}

}  // namespace

void CWnd::Own(QWidget* widget) {
  m_widget = widget;
  m_owns = true;
  Unregister();
  SetOwner(widget, this);
  m_pRegistered = widget;
  m_hook = new WidgetHook(this, widget);
  widget->installEventFilter(m_hook);
  m_destroyed = QObject::connect(widget, &QObject::destroyed, [this] {
    // The widget went with its parent: the window is gone.
    QObject::disconnect(m_destroyed);
    Unregister();
    if (m_hook) m_hook->Disown();
    m_widget.clear();
    m_owns = false;
    m_hook = nullptr;
    StopAllTimers();
    PostNcDestroy();
  });
}

void CWnd::Unregister() {
  if (m_pRegistered) ClearOwner(m_pRegistered, this);
  m_pRegistered = nullptr;
}

void CWnd::Release() {
  if (m_destroyed) QObject::disconnect(m_destroyed);
  m_destroyed = {};
  Unregister();
  QWidget* widget = m_widget.data();
  m_widget.clear();
  if (!widget) {
    m_hook = nullptr;
    return;
  }
  if (m_hook) {
    widget->removeEventFilter(m_hook);
    delete m_hook;
    m_hook = nullptr;
  }
  // A window is hidden before its children go, so that none of them is
  // laid out or repainted on the way.
  if (m_owns && widget->isWindow()) widget->hide();
  if (m_owns) delete widget;
  m_owns = false;
}


CWnd* CWnd::FromWidget(const QWidget* widget) {
  if (!widget) return nullptr;
  const auto it = Owners().find(widget);
  return it == Owners().end() ? nullptr : it->second;
}

BOOL CWnd::Attach(QWidget* widget) {
  if (!widget || m_widget) return FALSE;
  m_widget = widget;
  m_owns = false;
  return TRUE;
}

QWidget* CWnd::Detach() {
  QWidget* widget = m_widget.data();
  if (m_owns) {
    // Let go of ownership without deleting.
    if (m_destroyed) QObject::disconnect(m_destroyed);
    m_destroyed = {};
    if (widget && m_hook) {
      widget->removeEventFilter(m_hook);
      delete m_hook;
    }
    m_hook = nullptr;
    Unregister();
    m_owns = false;
  }
  m_widget.clear();
  return widget;
}

BOOL CWnd::Create(LPCTSTR, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id, void*) {
  QWidget* parentWidget = parent ? parent->ClientWidget() : nullptr;
  if (parent && !parentWidget) return FALSE;
  QWidget* widget;
  if (style & WS_BORDER) {
    auto* frame = new QFrame(parentWidget);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    widget = frame;
  } else {
    widget = new QWidget(parentWidget);
  }
  if (!parent) widget->setWindowTitle(ToQString(windowName));
  return FinishCreate(widget, style, rect, parent, id);
}

BOOL CWnd::FinishCreate(QWidget* widget, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  if (!widget) return FALSE;
  Release();
  Own(widget);
  widget->setProperty(kIdProperty, static_cast<int>(id));
  m_nCtrlId = static_cast<int>(id);
  widget->setGeometry(ToQRect(rect));
  if (style & WS_DISABLED) widget->setEnabled(false);
  // A child is shown with its parent unless hidden; a top-level window
  // only when asked.
  if (parent || (style & WS_VISIBLE)) widget->setVisible((style & WS_VISIBLE) != 0);
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_widget) return FALSE;
  StopAllTimers();
  const bool owned = m_owns;
  Release();
  if (owned) PostNcDestroy();
  return TRUE;
}

// ---- Identity, text, state.

int CWnd::GetDlgCtrlID() const {
  if (!m_widget) return 0;
  // An attached widget's id may be changed through its owner.
  return m_owns ? m_nCtrlId : m_widget->property(kIdProperty).toInt();
}

int CWnd::SetDlgCtrlID(int id) {
  if (!m_widget) return 0;
  const int previous = GetDlgCtrlID();
  m_widget->setProperty(kIdProperty, id);
  m_nCtrlId = id;
  if (CWnd* owner = FromWidget(m_widget)) owner->m_nCtrlId = id;
  return previous;
}

namespace {

// Windows edits keep line breaks as CR LF.
QString ToEditText(const QString& text) {
  QString s = text;
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}
QString FromEditText(const QString& text) {
  QString s = text;
  s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return s;
}

}  // namespace

void CWnd::SetWindowText(const char* text) {
  QWidget* w = m_widget.data();
  if (!w) return;
  const QString s = ToQString(text);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(s);
    // A text set by the program shows from its start, as a text too long
    // for its edit should.
    edit->setCursorPosition(0);
    plat::win::NotifyParentOf(w, EN_CHANGE);
  } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
    multi->setProperty(kProgramSetProperty, true);
    multi->setPlainText(ToEditText(s));
    multi->setProperty(kProgramSetProperty, false);
    plat::win::NotifyParentOf(w, EN_CHANGE);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(s);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(s);
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(s);
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (combo->isEditable()) combo->setEditText(s);
  } else {
    w->setWindowTitle(s);
  }
}

std::string CWnd::GetWindowText() const {
  const QWidget* w = m_widget.data();
  if (!w) return {};
  QString s;
  if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
    s = edit->text();
  } else if (auto* multi = qobject_cast<const QPlainTextEdit*>(w)) {
    s = FromEditText(multi->toPlainText());
  } else if (auto* label = qobject_cast<const QLabel*>(w)) {
    s = label->text();
  } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
    s = button->text();
  } else if (auto* group = qobject_cast<const QGroupBox*>(w)) {
    s = group->title();
  } else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
    s = combo->currentText();
  } else {
    s = w->windowTitle();
  }
  return FromQString(s);
}

int CWnd::GetWindowText(char* buffer, int max) const {
  if (!buffer || max <= 0) return 0;
  const std::string text = GetWindowText();
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(max - 1));
  // Do not cut a UTF-8 sequence in two.
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  text.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

int CWnd::GetWindowTextLength() const { return static_cast<int>(GetWindowText().size()); }

BOOL CWnd::EnableWindow(BOOL enable) {
  if (!m_widget) return FALSE;
  const BOOL wasDisabled = m_widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
  m_widget->setEnabled(enable != FALSE);
  return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_widget && !m_widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE; }

BOOL CWnd::ShowWindow(int command) {
  QWidget* w = m_widget.data();
  if (!w) return FALSE;
  const BOOL wasVisible = w->isHidden() ? FALSE : TRUE;
  switch (command) {
    case SW_HIDE:
      w->hide();
      break;
    case SW_SHOWMAXIMIZED:
      if (w->isWindow()) {
        // Without a window manager nothing honours the maximised state:
        // the window fills the screen's available area by itself.
        if (const QScreen* screen = w->screen()) w->setGeometry(screen->availableGeometry());
        w->showMaximized();
      } else
        w->show();
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      if (w->isWindow())
        w->showMinimized();
      else
        w->show();
      break;
    case SW_RESTORE:
      if (w->isWindow())
        w->showNormal();
      else
        w->show();
      break;
    default:
      w->show();
      break;
  }
  return wasVisible;
}

BOOL CWnd::IsWindowVisible() const { return m_widget && m_widget->isVisible() ? TRUE : FALSE; }

DWORD CWnd::GetStyle() const {
  const QWidget* w = m_widget.data();
  if (!w) return 0;
  DWORD style = 0;
  if (!w->isWindow()) style |= WS_CHILD;
  if (!w->isHidden()) style |= WS_VISIBLE;
  if (w->testAttribute(Qt::WA_ForceDisabled)) style |= WS_DISABLED;
  return style;
}

// ---- Geometry.

void CWnd::GetWindowRect(LPRECT rect) const {
  if (!rect) return;
  const QWidget* w = m_widget.data();
  if (!w) {
    *rect = RECT{};
    return;
  }
  *rect = FromQRect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

void CWnd::GetClientRect(LPRECT rect) const {
  if (!rect) return;
  const QWidget* c = ClientWidget();
  *rect = c ? FromQRect(QRect(QPoint(0, 0), c->size())) : RECT{};
}

void CWnd::ScreenToClient(LPPOINT point) const {
  const QWidget* c = ClientWidget();
  if (!point || !c) return;
  const QPoint p = c->mapFromGlobal(QPoint(point->x, point->y));
  point->x = p.x();
  point->y = p.y();
}

void CWnd::ScreenToClient(LPRECT rect) const {
  const QWidget* c = ClientWidget();
  if (!rect || !c) return;
  const QPoint p = c->mapFromGlobal(QPoint(rect->left, rect->top));
  rect->right += p.x() - rect->left;
  rect->bottom += p.y() - rect->top;
  rect->left = p.x();
  rect->top = p.y();
}

void CWnd::ClientToScreen(LPPOINT point) const {
  const QWidget* c = ClientWidget();
  if (!point || !c) return;
  const QPoint p = c->mapToGlobal(QPoint(point->x, point->y));
  point->x = p.x();
  point->y = p.y();
}

void CWnd::ClientToScreen(LPRECT rect) const {
  const QWidget* c = ClientWidget();
  if (!rect || !c) return;
  const QPoint p = c->mapToGlobal(QPoint(rect->left, rect->top));
  rect->right += p.x() - rect->left;
  rect->bottom += p.y() - rect->top;
  rect->left = p.x();
  rect->top = p.y();
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  if (!m_widget) return;
  m_widget->setGeometry(x, y, std::max(0, width), std::max(0, height));
  if (repaint) m_widget->update();
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  if (rect) MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

// ---- Family.

CWnd* CWnd::GetParent() const {
  if (!m_widget) return nullptr;
  for (QWidget* p = m_widget->parentWidget(); p; p = p->parentWidget())
    if (CWnd* owner = FromWidget(p)) return owner;
  return nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const {
  for (CWnd* p = GetParent(); p; p = p->GetParent())
    if (auto* frame = dynamic_cast<CFrameWnd*>(p)) return frame;
  return nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const {
  const QWidget* c = ClientWidget();
  if (!c) return nullptr;
  for (QObject* child : c->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (!w) continue;
    CWnd* owner = FromWidget(w);
    if (owner && owner->m_widget == w && owner->m_nCtrlId == id) return owner;
  }
  return nullptr;
}

namespace {
CWnd* OwnerAbove(QWidget* w) {
  for (; w; w = w->parentWidget())
    if (CWnd* owner = CWnd::FromWidget(w)) return owner;
  return nullptr;
}
}  // namespace

CWnd* CWnd::SetFocus() {
  CWnd* previous = OwnerAbove(QApplication::focusWidget());
  if (m_widget) m_widget->setFocus(Qt::OtherFocusReason);
  return previous;
}

CWnd* CWnd::GetFocus() { return OwnerAbove(QApplication::focusWidget()); }

void CWnd::Invalidate(BOOL) {
  if (m_widget) m_widget->update();
}

void CWnd::UpdateWindow() {
  if (m_widget && m_widget->isVisible()) m_widget->repaint();
}

// ---- Dialog-item shortcuts.

void CWnd::SetDlgItemText(int id, const char* text) {
  if (CWnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

std::string CWnd::GetDlgItemText(int id) const {
  const CWnd* item = GetDlgItem(id);
  return item ? item->GetWindowText() : std::string();
}

UINT CWnd::IsDlgButtonChecked(int id) const {
  const CWnd* item = GetDlgItem(id);
  return item ? static_cast<UINT>(plat::win::ButtonCheck(item->GetSafeWidget())) : 0;
}

void CWnd::CheckDlgButton(int id, UINT check) {
  if (CWnd* item = GetDlgItem(id)) plat::win::SetButtonCheck(item->GetSafeWidget(), static_cast<int>(check));
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id)
    if (CWnd* item = GetDlgItem(id)) plat::win::SetButtonCheck(item->GetSafeWidget(), id == checkId ? 1 : 0);
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const {
  for (int id = firstId; id <= lastId; ++id)
    if (IsDlgButtonChecked(id) == BST_CHECKED) return id;
  return 0;
}

// ---- Messages.

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_widget) return 0;
  CWnd* target = FromWidget(m_widget.data());
  return (target ? target : this)->WindowProc(message, wParam, lParam);
}

namespace {
void SendToDescendants(QWidget* parent, UINT message, WPARAM wParam, LPARAM lParam, bool deep) {
  std::vector<QPointer<QWidget>> children;
  for (QObject* child : parent->children())
    if (auto* w = qobject_cast<QWidget*>(child)) children.emplace_back(w);
  for (const QPointer<QWidget>& child : children) {
    if (!child) continue;
    if (CWnd* owner = CWnd::FromWidget(child.data())) owner->SendMessage(message, wParam, lParam);
    if (deep && child) SendToDescendants(child.data(), message, wParam, lParam, deep);
  }
}
}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
  if (m_widget) SendToDescendants(m_widget.data(), message, wParam, lParam, deep != FALSE);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      SetWindowText(reinterpret_cast<const char*>(lParam));
      return TRUE;
    case WM_GETTEXTLENGTH:
      return GetWindowTextLength();
    case WM_PAINT:
      Invalidate();
      return 0;
    case WM_TIMER: {
      const UINT id = static_cast<UINT>(wParam);
      Guarded("OnTimer", [&] { OnTimer(id); });
      return 0;
    }
    case WM_COMMAND:
      DispatchCommand(static_cast<UINT>(wParam & 0xFFFF), static_cast<UINT>((wParam >> 16) & 0xFFFF));
      return 0;
    default:
      return 0;
  }
}

// ---- Timers.

UINT_PTR CWnd::SetTimer(UINT id, UINT elapseMs, void*) {
  if (!m_widget) return 0;
  KillTimer(id);
  plat::TimeSource& source = plat::Time();
  const std::uint64_t generation = m_nextGeneration++;
  const plat::TimeSource::TimerId timer =
      source.StartTimer(elapseMs, [this, id, generation] { OnTimerTick(id, generation); });
  if (timer == 0) return 0;
  m_timers[id] = TimerEntry{&source, timer, generation};
  return id;
}

BOOL CWnd::KillTimer(UINT id) {
  const auto it = m_timers.find(id);
  if (it == m_timers.end()) return FALSE;
  const TimerEntry entry = it->second;
  m_timers.erase(it);
  entry.source->StopTimer(entry.timer);
  return TRUE;
}

void CWnd::StopAllTimers() {
  while (!m_timers.empty()) KillTimer(m_timers.begin()->first);
}

void CWnd::OnTimerTick(UINT id, std::uint64_t generation) {
  const auto it = m_timers.find(id);
  if (it == m_timers.end() || it->second.generation != generation) return;
  // A modal box inside the handler lets ticks through; they are dropped.
  if (m_ticking.count(id)) return;
  m_ticking.insert(id);
  const std::weak_ptr<int> life = m_life;
  Guarded("OnTimer", [&] { OnTimer(id); });
  if (life.expired()) return;
  m_ticking.erase(id);
}

// ---- The person.

// Without a caption a window's box carries the program's title.
int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  return ::MessageBox(this, text, caption ? caption : plat::AppTitle().c_str(), type);
}

// ---- Hosted controls.

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id, void*, BOOL,
                         BSTR) {
  IUnknownPtr unknown;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IUnknown::kIID, reinterpret_cast<void**>(&unknown))))
    return FALSE;
  return CreateControlObject(unknown, rect, parent, id, style);
}

BOOL CWnd::CreateControl(LPCTSTR progId, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                         void* persist, BOOL storage, BSTR license) {
  CLSID clsid{};
  const std::u16string wide = plat::Utf8ToUtf16(progId ? progId : "");
  if (FAILED(CLSIDFromProgID(wide.c_str(), &clsid))) return FALSE;
  return CreateControl(clsid, windowName, style, rect, parent, id, persist, storage, license);
}

BOOL CWnd::CreateControlObject(IUnknown* unknown, const RECT& rect, CWnd* parent, UINT id, DWORD style) {
  if (!unknown || !parent || !parent->ClientWidget()) return FALSE;
  _com_ptr_t<IWidgetControl> host(IUnknownPtr{unknown});
  if (!host) return FALSE;
  QWidget* widget = host->CreateWidget(parent->ClientWidget(), ToQRect(rect));
  if (!widget) return FALSE;
  m_relay.reset();
  m_control = nullptr;
  Release();
  Own(widget);
  widget->setProperty(kIdProperty, static_cast<int>(id));
  m_nCtrlId = static_cast<int>(id);
  widget->setGeometry(ToQRect(rect));
  // A control without a face at run time (a print engine) keeps its widget hidden.
  if (!(style & WS_VISIBLE)) widget->hide();
  m_control = unknown;
  IControlPtr control(m_control);
  if (control) {
    m_relay = std::make_unique<EventRelay>(parent->GetSafeWidget());
    control->Advise(m_relay.get(), id);
  }
  return TRUE;
}

// ---- Data exchange.

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  return Guarded("DoDataExchange", [&] { DoDataExchange(&exchange); }) ? TRUE : FALSE;
}

// ---- Handlers.

void CWnd::OnTimer(UINT) {}

BOOL CWnd::OnCommand(UINT id, UINT code) {
  const auto it = m_commands.find({code, id});
  if (it == m_commands.end()) return FALSE;
  // A copy: the handler may change the map.
  const auto handler = it->second;
  handler();
  return TRUE;
}

void CWnd::OnControlEvent(UINT controlId, int eventNumber, const EventArgs& args) {
  const auto it = m_events.find({controlId, eventNumber});
  if (it == m_events.end()) return;
  const auto handler = it->second;
  handler(args);
}

BOOL CWnd::OnNotify(UINT, NMHDR*, LRESULT*) { return FALSE; }

void CWnd::OnSize(UINT, int, int) {}

void CWnd::MapCommand(UINT code, UINT id, std::function<void()> handler) {
  m_commands[{code, id}] = std::move(handler);
}

void CWnd::MapCommandRange(UINT code, UINT firstId, UINT lastId, std::function<void(UINT id)> handler) {
  for (UINT id = firstId; id <= lastId; ++id) m_commands[{code, id}] = [handler, id] { handler(id); };
}

void CWnd::MapEvent(UINT controlId, int eventNumber, std::function<void(const EventArgs&)> handler) {
  m_events[{controlId, eventNumber}] = std::move(handler);
}

void CWnd::DispatchCommand(UINT id, UINT code) {
  Guarded("OnCommand", [&] { OnCommand(id, code); });
}

void CWnd::DispatchControlEvent(UINT controlId, int eventNumber, const EventArgs& args) {
  Guarded("OnControlEvent", [&] { OnControlEvent(controlId, eventNumber, args); });
}

void CWnd::DispatchNotify(UINT id, NMHDR* header, LRESULT* result) {
  Guarded("OnNotify", [&] { OnNotify(id, header, result); });
}

void CWnd::NotifyParent(UINT code) { plat::win::NotifyParentOf(m_widget.data(), code); }

namespace {
std::string ClassName(const std::type_info& type) {
  int status = 0;
  char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string result = status == 0 && name ? name : type.name();
  std::free(name);
  return result;
}
}  // namespace

bool CWnd::Guarded(const char* where, const std::function<void()>& f, std::set<std::string>* logged) {
  std::string error;
  try {
    f();
    return true;
  } catch (const plat::UnansweredQuestion&) {
    // A test's unscripted question must reach the test.
    throw;
  } catch (const _com_error& e) {
    error = e.ErrorMessage();
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "unknown exception";
  }
  std::string line = "Exception in " + ClassName(typeid(*this)) + "::" + where + ": " + error;
  if (!logged || logged->insert(line).second) WriteLog(_bstr_t(line));
  return false;
}

void CWnd::OnWidgetEvent(QEvent* event) {
  if (event->type() != QEvent::Resize || !m_widget) return;
  const QWidget* w = m_widget.data();
  const UINT type = w->isMaximized() ? SIZE_MAXIMIZED : w->isMinimized() ? SIZE_MINIMIZED : SIZE_RESTORED;
  const int cx = w->width();
  const int cy = w->height();
  Guarded("OnSize", [&] { OnSize(type, cx, cy); });
}

void CWnd::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}
