// A picture of the window layer to look at: a tree and a form with every
// control kind, in a splitter, saved under build/screens/.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "platform/win/splitter.h"
#include "platform/win/tree.h"
#include "sample_template.h"
#include "win_test_support.h"

namespace {

using namespace testsupport;

class SampleFrame : public CFrameWnd {
 public:
  BOOL OnCreateClient(void*, void*) override {
    splitter.CreateStatic(this, 1, 2);
    splitter.CreateView(0, 0, tree = new CTreeView, CSize(0, 0));
    form = new RecordingPage(kSampleTemplate);
    splitter.CreateView(0, 1, form, CSize(0, 0));
    splitter.SetColumnInfo(0, 190, 0);
    return TRUE;
  }
  CSplitterWnd splitter;
  CTreeView* tree = nullptr;
  RecordingPage* form = nullptr;
};

TEST(Screen, SampleFormWithEveryControlKind) {
  RegisterSampleTemplate();
  SampleFrame frame;
  ASSERT_TRUE(frame.Create("Tarnix", 0, CRect(0, 0, 850, 340)));
  ASSERT_NE(frame.form->GetSafeWidget(), nullptr);

  CTreeCtrl& tree = frame.tree->GetTreeCtrl();
  HTREEITEM root = tree.InsertItem("Tarnix");
  tree.InsertItem("Dashboard", root);
  HTREEITEM diagnostics = tree.InsertItem("Offline diagnostics", root);
  HTREEITEM ramp = tree.InsertItem("Ramp test", diagnostics);
  tree.InsertItem("Ramp compare", ramp);
  tree.InsertItem("Step test", diagnostics);
  tree.InsertItem("Partial stroke test", diagnostics);
  tree.InsertItem("Calibration", root);
  tree.Expand(root, TVE_EXPAND);
  tree.Expand(diagnostics, TVE_EXPAND);
  tree.SelectItem(ramp);

  CWnd& form = *frame.form;
  form.CheckDlgButton(kBidirectional, BST_CHECKED);
  form.CheckDlgButton(kMasked, BST_INDETERMINATE);
  form.CheckRadioButton(kRadioRamp, kRadioStep, kRadioRamp);
  form.CheckRadioButton(kRadioAbsolute, kRadioRelative, kRadioRelative);
  auto* speed = form.GetDlgItemAs<CComboBox>(kSpeedCombo);
  for (const char* text : {"Slow (10 %/s)", "Normal (25 %/s)", "Fast (50 %/s)"}) speed->AddString(text);
  speed->SetCurSel(1);
  auto* history = form.GetDlgItemAs<CListBox>(kHistoryList);
  for (const char* text : {"2026-01-12  Ramp 0-100 %", "2026-01-19  Ramp 0-100 %", "2026-02-02  Ramp 10-90 %",
                           "2026-02-16  Ramp 0-100 %", "2026-03-01  Ramp 0-100 %"})
    history->AddString(text);
  history->SetCurSel(2);
  form.SetDlgItemText(kStatusText, "Running: step 3 of 5");
  form.SetDlgItemText(kNotesEdit,
                      "Implications: the valve moves over its whole stroke.\r\n"
                      "Make sure the process allows the movement before the test starts.");
  form.GetDlgItemAs<CProgressCtrl>(kProgress)->SetPos(40);

  frame.ShowWindow(SW_SHOW);
  QApplication::processEvents();
  const QPixmap picture = frame.GetSafeWidget()->grab();
  EXPECT_EQ(picture.size(), QSize(850, 340));
  const QString folder = QStringLiteral(TARNIX_BINARY_DIR "/screens");
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(picture.save(folder + QStringLiteral("/window_layer.png")));
}

}  // namespace
