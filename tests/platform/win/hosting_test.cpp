// Hosting controls: creation through the class registry, placement on a
// placeholder's rectangle, and events reaching the page under its id.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>

#include "platform/activex/widget_host.h"
#include "platform/com/registry.h"
#include "sample_template.h"
#include "support/log_capture.h"
#include "win_test_support.h"

namespace {

using namespace testsupport;

// The smallest control: a label as its widget, events on request.
class FakeControl : public plat::ComObject<IControl, IWidgetControl> {
 public:
  FakeControl() { ++alive; }
  ~FakeControl() override { --alive; }
  HRESULT PutSetting(int, const VARIANT&) override { return S_OK; }
  HRESULT GetSetting(int, VARIANT*) override { return S_OK; }
  HRESULT get_Font(IUnknown** font) override {
    *font = nullptr;
    return S_OK;
  }
  HRESULT putref_Font(IUnknown*) override { return S_OK; }
  HRESULT Advise(IControlEventSink* sink, UINT id) override {
    m_sink = sink;
    m_id = id;
    return S_OK;
  }
  QWidget* CreateWidget(QWidget* parent, const QRect& rect) override {
    if (!m_widget) {
      m_widget = new QLabel(QStringLiteral("fake"), parent);
      m_widget->setGeometry(rect);
    }
    return m_widget;
  }
  QWidget* Widget() override { return m_widget; }

  // What the user's action would send.
  void Fire(int event, const std::vector<_variant_t>& args) {
    if (m_sink) m_sink->OnControlEvent(m_id, event, args);
  }
  bool Advised() const { return m_sink != nullptr; }

  static inline int alive = 0;

 private:
  QPointer<QWidget> m_widget;
  IControlEventSink* m_sink = nullptr;
  UINT m_id = 0;
};

// A control without a widget.
class NoWidgetControl : public plat::ComObject<IControl> {
 public:
  HRESULT PutSetting(int, const VARIANT&) override { return S_OK; }
  HRESULT GetSetting(int, VARIANT*) override { return S_OK; }
  HRESULT get_Font(IUnknown**) override { return E_NOTIMPL; }
  HRESULT putref_Font(IUnknown*) override { return E_NOTIMPL; }
  HRESULT Advise(IControlEventSink*, UINT) override { return S_OK; }
};

class ControlHosting : public testing::Test {
 protected:
  void SetUp() override {
    plat::RegisterClass("Test.FakeControl", [this](REFIID riid, void** ppv) {
      auto* control = new FakeControl;
      last = control;
      control->AddRef();
      const HRESULT hr = control->QueryInterface(riid, ppv);
      control->Release();
      return hr;
    });
    plat::RegisterClass("Test.NoWidget",
                        [](REFIID riid, void** ppv) { return plat::CreateComObject<NoWidgetControl>(riid, ppv); });
    RegisterSampleTemplate();
    page = MakePage(host, kSampleTemplate);
    ASSERT_NE(page, nullptr);
    // The creators' way: the placeholder's screen rectangle in the page's client coordinates.
    page->GetDlgItem(kPlaceholder)->GetWindowRect(&rect);
    page->ScreenToClient(&rect);
  }
  void TearDown() override {
    plat::UnregisterClass("Test.FakeControl");
    plat::UnregisterClass("Test.NoWidget");
  }

  HostWindow host;
  RecordingPage* page = nullptr;
  CRect rect;
  FakeControl* last = nullptr;
};

TEST_F(ControlHosting, AClassThatIsMissingOrHasNoWidgetLeavesTheHostEmpty) {
  for (const char* progId : {"Test.Missing", "Test.NoWidget"}) {
    CWnd hostWnd;
    EXPECT_FALSE(hostWnd.CreateControl(progId, nullptr, WS_VISIBLE, rect, page, 120)) << progId;
    EXPECT_EQ(hostWnd.GetControlUnknown(), nullptr) << progId;
    EXPECT_EQ(hostWnd.GetSafeWidget(), nullptr) << progId;
    EXPECT_EQ(page->GetDlgItem(120), nullptr) << progId;
  }
  EXPECT_EQ(page->GetDlgItem(kPlaceholder)->GetStyle() & WS_VISIBLE, 0u);
}

TEST_F(ControlHosting, AControlStandsOnThePlaceholderAndItsEventsReachThePage) {
  EXPECT_EQ(rect, plat::DluToPixels(208, 106, 61, 40));
  {
    CWnd hostWnd;
    ASSERT_TRUE(hostWnd.CreateControl("Test.FakeControl", nullptr, WS_VISIBLE, rect, page, 333));
    ASSERT_NE(hostWnd.GetControlUnknown(), nullptr);
    EXPECT_EQ(page->GetDlgItem(333), &hostWnd);
    EXPECT_EQ(hostWnd.GetParent(), page);
    EXPECT_EQ(FromQRect(hostWnd.GetSafeWidget()->geometry()), rect);
    EXPECT_EQ(hostWnd.GetStyle() & WS_VISIBLE, static_cast<DWORD>(WS_VISIBLE));
    EXPECT_EQ(page->GetDlgItem(kPlaceholder)->GetStyle() & WS_VISIBLE, 0u) << "the placeholder stays hidden";
    IControlPtr control(IUnknownPtr(hostWnd.GetControlUnknown()));
    EXPECT_TRUE(control);

    last->Fire(19, {_variant_t(LONG{2})});
    ASSERT_EQ(page->events.size(), 1u);
    EXPECT_EQ(page->events[0].controlId, 333u);
    EXPECT_EQ(page->events[0].eventNumber, 19);
    ASSERT_EQ(page->events[0].args.size(), 1u);
    EXPECT_EQ(page->events[0].args[0].lVal, 2);

    hostWnd.MoveWindow(10, 20, 108, 42);
    EXPECT_EQ(hostWnd.GetSafeWidget()->geometry(), QRect(10, 20, 108, 42));
  }
  // The host went: the control lost its window and its sink.
  EXPECT_EQ(FakeControl::alive, 0);
}

TEST_F(ControlHosting, AnExceptionInAnEventHandlerIsLogged) {
  LogCapture log;
  CWnd hostWnd;
  ASSERT_TRUE(hostWnd.CreateControl("Test.FakeControl", nullptr, WS_VISIBLE, rect, page, 202));
  page->onEvent = [](UINT, int) { _com_issue_error(E_POINTER); };
  last->Fire(202, {_variant_t(LONG{5})});
  EXPECT_EQ(page->events.size(), 1u);
  ASSERT_EQ(log.Texts().size(), 1u);
  EXPECT_NE(log.Texts()[0].find("OnControlEvent: 0x80004003"), std::string::npos) << log.Texts()[0];
}

TEST_F(ControlHosting, ThePageKeepsTheControlAfterItsHostIsGoneWithoutEvents) {
  IUnknownPtr kept;
  FakeControl* control = nullptr;
  {
    CWnd hostWnd;
    ASSERT_TRUE(hostWnd.CreateControl("Test.FakeControl", nullptr, WS_VISIBLE, rect, page, 7));
    kept = hostWnd.GetControlUnknown();
    control = last;
    EXPECT_TRUE(control->Advised());
  }
  EXPECT_FALSE(control->Advised());
  EXPECT_EQ(control->Widget(), nullptr);
  control->Fire(1, {});
  EXPECT_TRUE(page->events.empty());
}

TEST_F(ControlHosting, EventMapsRouteByControlIdAndEventNumber) {
  struct MapPage : CFormView {
    MapPage() : CFormView(testsupport::kSampleTemplate) {}
  };
  auto* mapped = new MapPage;
  ASSERT_TRUE(mapped->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 3));
  std::vector<LONG> seen;
  mapped->MapEvent(342, 202, [&](const CWnd::EventArgs& args) { seen.push_back(args.at(0).lVal); });
  CWnd other;
  ASSERT_TRUE(other.CreateControl("Test.FakeControl", nullptr, WS_VISIBLE, rect, mapped, 342));
  last->Fire(202, {_variant_t(LONG{17})});
  last->Fire(203, {});
  EXPECT_EQ(seen, std::vector<LONG>{17});
}

}  // namespace
