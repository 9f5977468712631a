// Notifications of the standard controls keep Win32's rules: the program's
// own changes notify only for an edit's text; buttons, combo and list boxes
// notify on the person's actions only.
#include "platform/win/controls.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

#include "platform/com/com_error.h"
#include "sample_template.h"
#include "support/log_capture.h"
#include "win_test_support.h"

namespace {

using namespace testsupport;
using Commands = std::vector<std::pair<UINT, UINT>>;

void PressKey(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

class ControlNotifications : public testing::Test {
 protected:
  void SetUp() override {
    RegisterSampleTemplate();
    page = MakePage(host, kSampleTemplate);
    ASSERT_NE(page, nullptr);
  }
  template <class T>
  T& Item(int id) {
    T* item = page->GetDlgItemAs<T>(id);
    EXPECT_NE(item, nullptr) << id;
    return *item;
  }

  HostWindow host;
  RecordingPage* page = nullptr;
};

TEST_F(ControlNotifications, AnEditNotifiesEveryTextChangeTheProgramMakesAndEveryKeystroke) {
  CEdit& edit = Item<CEdit>(kStartEdit);
  EXPECT_TRUE(page->commands.empty()) << "template texts are there before anyone listens";

  edit.SetWindowText("12.5");
  edit.SetWindowText("12.5");  // the same text again still counts
  page->SetDlgItemText(kStartEdit, "");
  page->GetDlgItem(kStartEdit)->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("7"));
  EXPECT_EQ(page->commands, (Commands(4, {kStartEdit, EN_CHANGE})));
  EXPECT_EQ(edit.GetWindowText(), "7");

  page->commands.clear();
  PressKey(edit.GetSafeWidget(), Qt::Key_5, QStringLiteral("5"));
  PressKey(edit.GetSafeWidget(), Qt::Key_Backspace);
  EXPECT_EQ(page->commands, (Commands(2, {kStartEdit, EN_CHANGE})));

  page->commands.clear();
  CEdit& notes = Item<CEdit>(kNotesEdit);
  notes.SetWindowText("Line one\r\nLine two");
  EXPECT_EQ(page->commands, (Commands{{kNotesEdit, EN_CHANGE}}));
  EXPECT_EQ(notes.GetWindowText(), "Line one\r\nLine two");

  page->commands.clear();
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(edit.GetSafeWidget(), &out);
  EXPECT_EQ(page->commands, (Commands{{kStartEdit, EN_KILLFOCUS}}));
}

TEST_F(ControlNotifications, EditLimitReadOnlyAndDigitsOnly) {
  CEdit& edit = Item<CEdit>(kStartEdit);
  EXPECT_NE(edit.SendMessage(EM_GETLIMITTEXT), 0);
  edit.SetLimitText(3);
  EXPECT_EQ(edit.GetLimitText(), 3u);
  CEdit unbound;
  EXPECT_EQ(unbound.GetLimitText(), 0u);
  EXPECT_EQ(unbound.SendMessage(EM_GETLIMITTEXT), 0);

  EXPECT_TRUE(Item<CEdit>(kStatusText).IsReadOnly());
  EXPECT_FALSE(edit.IsReadOnly());

  CEdit& year = Item<CEdit>(kYearEdit);
  year.SetWindowText("");
  page->commands.clear();
  PressKey(year.GetSafeWidget(), Qt::Key_A, QStringLiteral("a"));
  PressKey(year.GetSafeWidget(), Qt::Key_4, QStringLiteral("4"));
  EXPECT_EQ(year.GetWindowText(), "4");
  EXPECT_EQ(page->commands, (Commands{{kYearEdit, EN_CHANGE}}));
}

TEST_F(ControlNotifications, ButtonsNotifyOnlyWhenClicked) {
  for (int id : {kApply, kBidirectional, kMasked, kRadioRamp}) {
    Item<CButton>(id).SetCheck(BST_CHECKED);
    page->CheckDlgButton(id, BST_UNCHECKED);
    page->GetDlgItem(id)->SendMessage(BM_SETCHECK, BST_CHECKED);
  }
  EXPECT_TRUE(page->commands.empty());

  static_cast<QAbstractButton*>(Item<CButton>(kApply).GetSafeWidget())->click();
  EXPECT_EQ(page->commands, (Commands{{kApply, BN_CLICKED}}));
  EXPECT_EQ(Item<CButton>(kApply).GetCheck(), BST_UNCHECKED) << "a push button has no check";
}

TEST_F(ControlNotifications, CheckBoxesChangeOnAClickAsWindowsBoxesDo) {
  struct Case {
    int id;
    int before;
    int after;
  };
  // Auto box: checked -> unchecked, anything else -> checked. Manual box: unchanged.
  const Case cases[] = {
      {kBidirectional, BST_UNCHECKED, BST_CHECKED},
      {kBidirectional, BST_CHECKED, BST_UNCHECKED},
      {kBidirectional, BST_INDETERMINATE, BST_CHECKED},
      {kMasked, BST_UNCHECKED, BST_UNCHECKED},
      {kMasked, BST_CHECKED, BST_CHECKED},
  };
  for (const Case& c : cases) {
    CButton& box = Item<CButton>(c.id);
    box.SetCheck(c.before);
    EXPECT_EQ(box.GetCheck(), c.before) << "a two-state box still reports 2";
    page->commands.clear();
    box.Click();
    EXPECT_EQ(box.GetCheck(), c.after) << c.id << " from " << c.before;
    EXPECT_EQ(page->commands, (Commands{{static_cast<UINT>(c.id), BN_CLICKED}}));
  }
  EXPECT_EQ(page->IsDlgButtonChecked(kMasked), static_cast<UINT>(BST_CHECKED));
}

TEST_F(ControlNotifications, AutoRadioButtonsActWithinTheirGroupOnly) {
  EXPECT_EQ(page->GetCheckedRadioButton(kRadioRamp, kRadioStep), 0) << "none checked at creation";
  page->CheckRadioButton(kRadioRamp, kRadioStep, kRadioRamp);
  page->CheckRadioButton(kRadioAbsolute, kRadioRelative, kRadioAbsolute);
  // From code a radio button changes alone, as BM_SETCHECK does.
  Item<CButton>(kRadioRelative).SetCheck(BST_CHECKED);
  EXPECT_EQ(page->IsDlgButtonChecked(kRadioAbsolute), static_cast<UINT>(BST_CHECKED));
  Item<CButton>(kRadioRelative).SetCheck(BST_UNCHECKED);

  Item<CButton>(kRadioStep).Click();
  EXPECT_EQ(page->GetCheckedRadioButton(kRadioRamp, kRadioStep), kRadioStep);
  EXPECT_EQ(page->IsDlgButtonChecked(kRadioRamp), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(page->IsDlgButtonChecked(kRadioAbsolute), static_cast<UINT>(BST_CHECKED)) << "the other group stays";
  Item<CButton>(kRadioStep).Click();  // a checked radio stays checked
  EXPECT_EQ(page->IsDlgButtonChecked(kRadioStep), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(page->commands, (Commands(2, {kRadioStep, BN_CLICKED})));
}

TEST_F(ControlNotifications, AComboBoxNotifiesTheUsersChoiceNotSetCurSel) {
  CComboBox& combo = Item<CComboBox>(kSpeedCombo);
  for (const char* text : {"Slow", "Normal", "Fast"}) combo.AddString(text);
  EXPECT_EQ(combo.GetCurSel(), -1) << "adding entries selects none";
  EXPECT_EQ(combo.SetCurSel(1), 1);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(combo.SetCurSel(7), -1);
  EXPECT_EQ(combo.GetCurSel(), -1) << "out of range leaves no selection";
  combo.SendMessage(CB_SETCURSEL, 2);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 2);
  EXPECT_EQ(combo.GetLBText(0), "Slow");
  EXPECT_TRUE(page->commands.empty());

  combo.SetCurSel(0);
  PressKey(combo.GetSafeWidget(), Qt::Key_Down);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(page->commands, (Commands{{kSpeedCombo, CBN_SELCHANGE}}));

  combo.ResetContent();
  EXPECT_EQ(combo.GetCount(), 0);
  EXPECT_EQ(combo.GetCurSel(), -1);
  EXPECT_EQ(page->commands.size(), 1u);
}

TEST_F(ControlNotifications, AListBoxNotifiesTheUsersChoiceNotSetCurSel) {
  CListBox& list = Item<CListBox>(kHistoryList);
  list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("88 - Position deviation alarm"));
  list.AddString("12 - Supply pressure low");
  EXPECT_EQ(list.SetCurSel(1), 1);
  EXPECT_EQ(list.GetText(1), "12 - Supply pressure low");
  EXPECT_TRUE(page->commands.empty());
  PressKey(list.GetSafeWidget(), Qt::Key_Up);
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_EQ(page->commands, (Commands{{kHistoryList, LBN_SELCHANGE}}));
  list.SendMessage(LB_RESETCONTENT);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(page->commands.size(), 1u);
}

TEST_F(ControlNotifications, AProgressBarStartsAtZeroToHundredAndClamps) {
  CProgressCtrl& bar = Item<CProgressCtrl>(kProgress);
  int low = -1, high = -1;
  bar.GetRange(low, high);
  EXPECT_EQ(std::make_pair(low, high), std::make_pair(0, 100));
  EXPECT_EQ(bar.GetPos(), 0);
  // The order a loader uses: position first, then the range, then steps.
  EXPECT_EQ(bar.SendMessage(PBM_SETPOS, 150), 0);
  EXPECT_EQ(bar.GetPos(), 100);
  EXPECT_EQ(bar.SendMessage(PBM_SETRANGE, 0, (53 << 16) | 21), (100 << 16) | 0);
  EXPECT_EQ(bar.GetPos(), 53);
  EXPECT_EQ(bar.SetPos(5), 53);
  EXPECT_EQ(bar.GetPos(), 21);
}

TEST_F(ControlNotifications, CommandMapsReachHandlersAndExceptionsStayInside) {
  LogCapture log;
  int applied = 0;
  page->MapCommand(BN_CLICKED, kApply, [&] { ++applied; });
  page->MapCommandRange(BN_CLICKED, kRadioRamp, kRadioStep, [&](UINT id) {
    if (id == kRadioStep) _com_issue_error(E_FAIL);
  });
  Item<CButton>(kApply).Click();
  Item<CButton>(kRadioStep).Click();
  EXPECT_EQ(applied, 1);
  ASSERT_EQ(log.Texts().size(), 1u);
  EXPECT_NE(log.Texts()[0].find("OnCommand: 0x80004005"), std::string::npos) << log.Texts()[0];
}

TEST_F(ControlNotifications, DdxControlBindsAMemberToTheSameControl) {
  class Bound : public RecordingPage {
   public:
    Bound() : RecordingPage(kSampleTemplate) {}
    void DoDataExchange(CDataExchange* pDX) override {
      DDX_Control(pDX, kStartEdit, start);
      DDX_Control(pDX, kSpeedCombo, speed);
      DDX_Control(pDX, 4242, missing);
    }
    CEdit start;
    CComboBox speed;
    CStatic missing;
  };
  LogCapture log;
  auto* bound = new Bound;
  ASSERT_TRUE(bound->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 100, 100), &host, 2));
  bound->SendMessage(WM_INITIALUPDATE);
  EXPECT_EQ(bound->start.GetSafeWidget(), bound->GetDlgItem(kStartEdit)->GetSafeWidget());
  EXPECT_EQ(bound->start.GetDlgCtrlID(), kStartEdit);
  bound->start.SetWindowText("50");
  EXPECT_EQ(bound->GetDlgItemText(kStartEdit), "50");
  EXPECT_EQ(bound->commands, (Commands{{kStartEdit, EN_CHANGE}}));
  bound->speed.AddString("Fast");
  EXPECT_EQ(bound->GetDlgItemAs<CComboBox>(kSpeedCombo)->GetCount(), 1);
  EXPECT_EQ(bound->missing.GetSafeWidget(), nullptr);
  EXPECT_EQ(log.Texts(), std::vector<std::string>{"DDX_Control: no control 4242"});
}

}  // namespace
