#pragma once
// The machine that the monitoring pages and the configuration and
// calibration pages share: a one-shot timer that runs one step of the
// page's table per tick, requests that buttons store for the next tick,
// captions and tool tips by key, and the tool-tip relay.
//
// The frame owns the machine so that nothing inside a step can stop it:
// the step moves on before its work runs, a failure inside it is caught
// and logged once, and the timer is armed again after every tick.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/tooltip.h"
#include "shell/status_page.h"

// One step of a page's machine.
struct PageStep {
  int step;
  const char* name;  // names the step in the log (the dashboard also shows it)
  // Empty: always due. A step that is not due waits for a later tick and
  // makes no transaction.
  std::function<bool()> due;
  // The step's device transaction (some steps make several).
  std::function<void()> transact;
  // Device image to controls; runs also after a failed transaction.
  std::function<void()> show;
  // Where the machine goes, whatever happened inside; the work may choose
  // another step by setting m_nStep.
  int next;
};

namespace pages {
// What a one-line status field shows for a key: the short form of a
// sentence too long for the field (the key with "_SHORT" after it) where
// the language file has one, else the key's text.
std::string StatusFieldText(const char* key);
}  // namespace pages

// "Every n-th tick": due at the first call, then at every n-th call
// after the last one that was due. The page keeps it as a member, so the
// count survives hiding the page. Restart makes the next call due, or the
// calls-th from now.
class CTickCountdown {
 public:
  bool Due(int every) {
    if (--m_nLeft > 0) return false;
    m_nLeft = every;
    return true;
  }
  void Restart(int calls = 1) { m_nLeft = calls; }
  int Left() const { return m_nLeft; }

 private:
  int m_nLeft = 1;
};

// A stored request, the first step of its sequence, and what the request
// does itself before that step runs in the same tick.
struct PageRequest {
  int request;
  int firstStep;
  std::function<void()> begin = {};
  // Carried to its end when the page is left before it is over. A start
  // that moves the valve is not: it belongs to its page being shown; nor
  // is a report, whose dialogs belong over the page it was asked from.
  bool carriedWhenLeft = true;
};

class CStepPage : public CStatusPage {
 public:
  CStepPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, StatusHeaderIds ids = {});

  // The LED, the page's controls (CreateControls), the captions, then the
  // tool tips when their control could be made.
  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  // The header from the last poll (or a poll, see m_bPollAtStart), the
  // page's start-up effects, the first request and step, the timer.
  void StartMonitoring() override;
  // The page's polling stops, but a request clicked on it is carried to its
  // end: its first step runs at once, and the rest at once too, or, on a
  // page that finishes on its timer, at the page's pace while it is hidden.
  void StopMonitoring() override;
  // Only the page's own id: a new request becomes its first step, one step
  // runs, and the timer is armed again, whatever happened in the step.
  void OnTimer(UINT id) override;
  // A request clicked on the page that is carried when the page is left
  // and is not yet over: waiting, or begun and its steps not yet back at
  // the page's polling.
  virtual bool RequestUnderWay() const;

  int GetRequest() const { return m_nRequest; }
  // Started and not yet stopped.
  bool IsShown() const { return m_bShown; }
  int GetStep() const { return m_nStep; }
  const CToolTipCtrl& GetToolTips() const { return m_ToolTip; }

 protected:
  // The page's hosted controls, made after the header LED.
  virtual void CreateControls() {}
  // What the page does when shown, besides header, request and step.
  virtual void OnShown() {}
  // Turns a stored request into the first step of its sequence and runs its
  // own work; by default from m_requests.
  virtual void BeginRequest(int request);
  // Runs the row of m_steps for m_nStep; a step with no row does nothing.
  void RunStep() override;
  // Around every step that runs (the dashboard names them in its monitor).
  virtual void OnStepBegin(const PageStep&) {}
  virtual void OnStepEnd(const PageStep&) {}

  // The status poll of the header as a step.
  PageStep StatusStep(int step, int next);
  // The status poll on every n-th run of the step, the first run at once;
  // the countdown survives hiding the page.
  PageStep CountdownStatusStep(int step, int every, int next);

  // Runs f; a failure is logged once for each place and error, and the
  // caller goes on. One call per control keeps the others updating when
  // one of them fails.
  bool Try(const char* what, const std::function<void()>& f);

  void SetCaptions();
  void SetToolTips();
  // A request button: the timer restarts its period and the request waits
  // for the next tick with the action buttons disabled.
  void Request(int request);
  virtual void EnableActionButtons(BOOL enable);
  // An action button that EnableActionButtons leaves disabled until ready
  // holds (Apply before the page has read what it would write). With a
  // tip key, the button's tip says that instead of its own while held.
  void HoldButtonUntil(int id, std::function<bool()> ready, const char* heldTipKey = nullptr);
  // Tells the user why the page did not do what was asked.
  void Warn(const char* key);
  // A one-line status field: the key's text, or its short form with the
  // whole sentence as the field's tip for as long as the short form shows.
  // A null or empty key empties the field.
  void ShowStatus(int id, const char* key);
  // A hosted control in place of its hidden placeholder.
  CRect PlaceholderRect(CWnd& placeholder) const;
  bool IsChecked(int id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }
  // The report engine (control 103) and the printer (104) on their hidden
  // placeholders; empty where a control could not be made.
  void CreateReportControls(int reportPlace = 1413, int printerPlace = 1414);
  IReportXPtr m_pReport;
  IPrinterXPtr m_pPrinter;
  CWnd m_wndReportHost, m_wndPrinterHost;

  // Declared by the page.
  std::vector<PageStep> m_steps;
  std::vector<PageRequest> m_requests;
  std::vector<KeyedControls> m_captions;
  std::vector<KeyedControls> m_toolTips;
  std::vector<int> m_actionButtons;
  int m_nStartRequest = 1;
  int m_nStartStep = 0;
  bool m_bPollAtStart = false;  // a poll instead of the last poll's result

  int m_nRequest = 0;  // 0: none waiting
  int m_nStep = 0;
  // A page whose request waits on the device between its steps (a stop
  // confirmed by state reads) finishes it on its timer while hidden,
  // instead of running every step at once as it is left.
  bool m_bFinishOnTimer = false;
  CTickCountdown m_pollCountdown;  // of CountdownStatusStep
  CToolTipCtrl m_ToolTip;

 private:
  // The field's own tip, from m_toolTips; none when it has none.
  void ShowOwnTip(int id);
  // One tick's work: a waiting request begun, one step run.
  void Tick();
  const PageRequest* RequestRow(int request) const;
  const PageStep* StepRow(int step) const;
  bool Carried(int request) const;
  // A step without a row, or one that its own successors come back to: the
  // page's polling, where no request is under way.
  bool AtRest(int step) const;

  bool m_bShown = false;
  bool m_bShowingRequest = false;  // m_nRequest is still the showing's own start request
  int m_nBegun = 0;                // a carried request begun and not yet back at rest

  std::set<std::string> m_loggedFailures;
  std::map<int, std::string> m_shortStatus;  // a status field's short form on show
  struct HeldButton {
    int id;
    std::function<bool()> ready;
    const char* tipKey;
  };
  std::vector<HeldButton> m_heldButtons;
};
