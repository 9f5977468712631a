#pragma once
// CWnd: a window object over a QWidget, with the calls the pages make.
//
// A CWnd either owns its widget (it made it: Create, CreateControl, the
// controls of a dialog template) and deletes it with itself, or is a handle
// on a widget that another CWnd owns (Attach, DDX_Control). All state lives
// in the widget, so every handle on a widget sees the same text, check
// state, id and so on. GetDlgItem and GetParent answer with the owning
// object.
//
// Notifications reach the parent window the way WM_COMMAND does: a child
// control calls its parent's OnCommand(id, code) with the control's id and a
// notification code (BN_CLICKED, EN_CHANGE, EN_KILLFOCUS, CBN_SELCHANGE,
// LBN_SELCHANGE). The default OnCommand looks the pair up in the window's
// command map (MapCommand), so a page either fills the map in its
// constructor or overrides OnCommand. Events of hosted controls arrive the
// same way at OnControlEvent (default: the event map, MapEvent).
//
// Every dispatch into page code (commands, timers, control events, tree
// notifications, size, initial update) catches _com_error and
// std::exception, logs them and goes on.
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/activex/control.h"
#include "platform/com/com_ptr.h"
#include "platform/com/variant.h"
#include "platform/sys/text_window.h"
#include "platform/sys/time_source.h"
#include "platform/win/types.h"

class CDataExchange;
class CFrameWnd;

class CWnd : public ITextWindow, public IControlEventSink {
 public:
  using EventArgs = std::vector<_variant_t>;

  CWnd();
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // ---- Creation and the widget underneath.
  // A plain child window (a frame when WS_BORDER); with no parent a
  // top-level window whose title is windowName. rect is in the parent's
  // client coordinates.
  virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      void* context = nullptr);
  // Deletes the widget this window owns (or lets go of a handle).
  BOOL DestroyWindow();
  QWidget* GetSafeWidget() const { return m_widget.data(); }
  HWND GetSafeHwnd() const { return m_widget ? const_cast<CWnd*>(this) : nullptr; }
  // The widget children are placed in and client coordinates refer to.
  virtual QWidget* ClientWidget() const { return m_widget.data(); }
  // Makes this object a handle on a widget that something else owns.
  BOOL Attach(QWidget* widget);
  QWidget* Detach();
  // The window object that owns the widget, or null.
  static CWnd* FromWidget(const QWidget* widget);

  // ---- Identity, text, state.
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);  // returns the previous id
  // An edit notifies EN_CHANGE also when the program sets its text.
  void SetWindowText(const char* text) override;
  void SetWindowText(const std::string& text) { SetWindowText(text.c_str()); }
  std::string GetWindowText() const override;
  void GetWindowText(std::string& text) const { text = GetWindowText(); }
  // Copies at most max - 1 bytes (never half a character); returns the length copied.
  int GetWindowText(char* buffer, int max) const;
  int GetWindowTextLength() const;
  BOOL EnableWindow(BOOL enable = TRUE);  // nonzero when it was disabled
  BOOL IsWindowEnabled() const;
  BOOL ShowWindow(int command);  // nonzero when it was visible
  // Visible, and every parent up to a shown top-level window too.
  BOOL IsWindowVisible() const;
  // WS_VISIBLE, WS_DISABLED and WS_CHILD of this window alone.
  DWORD GetStyle() const;

  // ---- Geometry. Window rectangles are in screen coordinates, client
  // rectangles start at 0,0; MoveWindow takes the parent's client coordinates.
  void GetWindowRect(LPRECT rect) const;
  virtual void GetClientRect(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);

  // ---- Family.
  CWnd* GetParent() const;
  CFrameWnd* GetParentFrame() const;
  // The first child with this id (ids may repeat; the first made wins).
  CWnd* GetDlgItem(int id) const;
  template <class T>
  T* GetDlgItemAs(int id) const {
    return dynamic_cast<T*>(GetDlgItem(id));
  }
  CWnd* SetFocus();  // returns the window that had the focus
  static CWnd* GetFocus();
  void Invalidate(BOOL erase = TRUE);
  void UpdateWindow();

  // ---- Dialog-item shortcuts.
  void SetDlgItemText(int id, const char* text);
  std::string GetDlgItemText(int id) const;
  UINT IsDlgButtonChecked(int id) const;
  void CheckDlgButton(int id, UINT check);
  void CheckRadioButton(int firstId, int lastId, int checkId);
  int GetCheckedRadioButton(int firstId, int lastId) const;

  // ---- Messages. SendMessage goes to the owning object's WindowProc; a
  // window without a widget answers 0.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);
  virtual BOOL PreTranslateMessage(MSG* msg);

  // ---- Timers, per window and id, on plat::Time(). SetTimer with a running
  // id restarts it; a killed timer delivers nothing more; while OnTimer(id)
  // runs (a message box inside it, say), further ticks of that id are
  // dropped. Returns id, or 0 when the time source offers no timers.
  UINT_PTR SetTimer(UINT id, UINT elapseMs, void* unused = nullptr);
  BOOL KillTimer(UINT id);
  bool HasTimer(UINT id) const { return m_timers.count(id) != 0; }

  // ---- The person (person.h).
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

  // ---- Hosted controls. Creates the control through the class registry,
  // makes its widget at rect (parent's client coordinates) and subscribes
  // the parent to its events under id. FALSE, with GetControlUnknown()
  // null, when the class is not registered or the object has no widget.
  BOOL CreateControl(REFCLSID clsid, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                     void* persist = nullptr, BOOL storage = FALSE, BSTR license = nullptr);
  BOOL CreateControl(LPCTSTR progId, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                     void* persist = nullptr, BOOL storage = FALSE, BSTR license = nullptr);
  IUnknown* GetControlUnknown() const { return m_control.GetInterfacePtr(); }

  // ---- Data exchange: only control binding (DDX_Control) is used.
  virtual void DoDataExchange(CDataExchange* pDX);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // ---- Handlers a page overrides.
  virtual void OnTimer(UINT id);
  // Default: the command map. TRUE when handled.
  virtual BOOL OnCommand(UINT id, UINT code);
  // Default: the event map.
  void OnControlEvent(UINT controlId, int eventNumber, const EventArgs& args) override;
  // WM_NOTIFY from a child (a tree's selection change, say).
  virtual BOOL OnNotify(UINT id, NMHDR* header, LRESULT* result);
  virtual void OnSize(UINT type, int cx, int cy);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // ---- Command and event maps.
  void MapCommand(UINT code, UINT id, std::function<void()> handler);
  template <class T>
  void MapCommand(UINT code, UINT id, void (T::*handler)()) {
    T* self = static_cast<T*>(this);
    MapCommand(code, id, [self, handler] { (self->*handler)(); });
  }
  // One handler for a range of ids (radio buttons that share one).
  void MapCommandRange(UINT code, UINT firstId, UINT lastId, std::function<void(UINT id)> handler);
  void MapEvent(UINT controlId, int eventNumber, std::function<void(const EventArgs&)> handler);
  template <class T>
  void MapEvent(UINT controlId, int eventNumber, void (T::*handler)(const EventArgs&)) {
    T* self = static_cast<T*>(this);
    MapEvent(controlId, eventNumber, [self, handler](const EventArgs& a) { (self->*handler)(a); });
  }

  // ---- Entry points the layer calls; each guards the page code.
  void DispatchCommand(UINT id, UINT code);
  void DispatchControlEvent(UINT controlId, int eventNumber, const EventArgs& args);
  void DispatchNotify(UINT id, NMHDR* header, LRESULT* result);
  // Runs f; a _com_error or std::exception is logged with this window's
  // class and `where`, and swallowed. False when something was thrown.
  // With `logged`, a line already in it is not written again, so a failure
  // that repeats every tick is logged once.
  bool Guarded(const char* where, const std::function<void()>& f, std::set<std::string>* logged = nullptr);

  // Sends a control notification from this window to its parent.
  void NotifyParent(UINT code);

 protected:
  // Takes ownership of a new widget and applies style, rectangle, parent and id.
  BOOL FinishCreate(QWidget* widget, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Widget events of the owned widget (size, focus) come here first.
  virtual void OnWidgetEvent(QEvent* event);
  // Called when the owned widget went away under this object.
  virtual void PostNcDestroy();
  // Views delete themselves with their widget, as they do on Windows.
  bool m_bAutoDelete = false;

 private:
  class WidgetHook;
  class EventRelay;
  friend class WidgetHook;
  struct TimerEntry {
    plat::TimeSource* source;
    plat::TimeSource::TimerId timer;
    std::uint64_t generation;
  };

  void Own(QWidget* widget);
  void Release();
  // Takes this window out of the owner registry.
  void Unregister();
  void OnTimerTick(UINT id, std::uint64_t generation);
  void StopAllTimers();
  BOOL CreateControlObject(IUnknown* unknown, const RECT& rect, CWnd* parent, UINT id, DWORD style);

  QPointer<QWidget> m_widget;
  bool m_owns = false;
  int m_nCtrlId = 0;  // the widget's id property, read without a property lookup
  // The widget this window is registered as owner of, kept apart from
  // m_widget: that guard is already empty while a widget is half destroyed.
  const QWidget* m_pRegistered = nullptr;
  QMetaObject::Connection m_destroyed;
  WidgetHook* m_hook = nullptr;

  // Lets a dispatch notice that the handler deleted this window.
  std::shared_ptr<int> m_life;
  std::map<UINT, TimerEntry> m_timers;
  std::set<UINT> m_ticking;
  std::uint64_t m_nextGeneration = 1;

  IUnknownPtr m_control;
  std::unique_ptr<EventRelay> m_relay;

  std::map<std::pair<UINT, UINT>, std::function<void()>> m_commands;
  std::map<std::pair<UINT, int>, std::function<void(const EventArgs&)>> m_events;
};

// Win32-style free functions over window handles.
inline BOOL IsWindow(HWND wnd) { return wnd && wnd->GetSafeWidget() ? TRUE : FALSE; }

// The layer's own window-name texts as Qt strings.
QString ToQString(const char* utf8);
std::string FromQString(const QString& text);

// Rectangles between the two worlds.
QRect ToQRect(const RECT& rect);
CRect FromQRect(const QRect& rect);
