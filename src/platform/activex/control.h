#pragma once
// What every control stand-in offers, without Qt: settings put and read by
// number (each control kind's header names its numbers), the font object,
// events to the page, and a test journal. The window layer hosts the
// controls through widget_host.h.
#include <deque>
#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/variant.h"

using CY = std::int64_t;  // currency: the value times 10000 (a font of 8 points is 80000)

// The standard font interface; the font object a control hands out answers
// to it.
struct IFont : IUnknown {
  static constexpr IID kIID = {0x7a3c0004, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
  virtual HRESULT get_Name(_bstr_t* name) = 0;
  virtual HRESULT put_Name(const _bstr_t& name) = 0;
  virtual HRESULT get_Size(CY* size) = 0;
  virtual HRESULT put_Size(CY size) = 0;
  virtual HRESULT get_Bold(BOOL* bold) = 0;
  virtual HRESULT put_Bold(BOOL bold) = 0;
  virtual HRESULT get_Underline(BOOL* underline) = 0;
  virtual HRESULT put_Underline(BOOL underline) = 0;
  virtual HRESULT get_Charset(short* charset) = 0;
  virtual HRESULT put_Charset(short charset) = 0;
};
using IFontPtr = _com_ptr_t<IFont>;

// The page side of control events: the control id the page gave, the
// event's number, and its arguments. Events come from user actions only.
class IControlEventSink {
 public:
  virtual ~IControlEventSink() = default;
  virtual void OnControlEvent(UINT controlId, int eventNumber, const std::vector<_variant_t>& args) = 0;
};

struct IControl : IUnknown {
  static constexpr IID kIID = {0x7a3c0004, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};
  virtual HRESULT PutSetting(int setting, const VARIANT& value) = 0;
  virtual HRESULT GetSetting(int setting, VARIANT* value) = 0;
  // The font object (asked for IFont by the caller); null when the control
  // has none. Putting it back applies it.
  virtual HRESULT get_Font(IUnknown** font) = 0;
  virtual HRESULT putref_Font(IUnknown* font) = 0;
  virtual HRESULT Advise(IControlEventSink* sink, UINT controlId) = 0;
};
using IControlPtr = _com_ptr_t<IControl>;

// For tests: what a control was told, in order, and failures on demand.
struct IControlTest : IUnknown {
  static constexpr IID kIID = {0x7a3c0004, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03}};
  // One entry per put, add or operation, e.g. "3=0x00FF00", "28=110",
  // "font.size=80000", "element[1].position=50", "add"; the latest
  // ControlJournal::kLimit only.
  virtual std::vector<std::string> Journal() = 0;
  virtual void ClearJournal() = 0;
  // The next put of this journal label (e.g. "28", "font.size", "add")
  // fails with hr, `times` times (-1: until cleared). The label "*" makes
  // every put and operation fail.
  virtual void FailPut(const std::string& label, HRESULT hr, int times = 1) = 0;
  // Acts as the user would: fires the event with its arguments.
  virtual void UserEvent(int eventNumber, const std::vector<_variant_t>& args) = 0;
};
using IControlTestPtr = _com_ptr_t<IControlTest>;

// A control's journal keeps its latest entries only, so that a control
// updated for days does not grow; a test reads far fewer than that.
class ControlJournal {
 public:
  static constexpr size_t kLimit = 1000;
  void Add(std::string entry) {
    if (m_entries.size() == kLimit) m_entries.pop_front();
    m_entries.push_back(std::move(entry));
  }
  std::vector<std::string> Entries() const { return {m_entries.begin(), m_entries.end()}; }
  void Clear() { m_entries.clear(); }

 private:
  std::deque<std::string> m_entries;
};
