#pragma once
// The frame of the health pages: the annunciator's alert rows, each with a
// select button that shows what the alert implies and how to mend it, the
// legend and the description boxes. Each page declares its own machine from
// the frame's steps. A page shown again keeps its lamps and its enabled
// rows from the last visit until its next refresh.
#include <functional>
#include <span>
#include <vector>

#include "comm/communication.h"
#include "shell/annunciator_page.h"

namespace health {

// What an alert implies and how to mend it, by key; one per row.
struct RowTexts {
  const char* implications;
  const char* solutions;
};

// The description boxes and the legend of a page's template.
struct SideIds {
  int implicationsCaption, implications, solutionsCaption, solutions;
  int legendBox, legendLamp, legendText, legendMasked, legendSelected;
  UINT legendLampId;
  const char* legendTextKey;
};

// A link label that leads to another page by selecting its tree item.
struct Link {
  int placeholder;
  UINT id;
  int treeItem;  // item code
  const char* toolTipKey;
};

// A value under the rows of a group: caption, read-only box, unit, and
// where wanted a Reset button and a link label at the group's right end.
struct ValueLine {
  int group, caption, value, unit;  // unit 0: none
  const char* unitText;
  const char* captionKey;
  const char* toolTipKey;
  int reset;  // 0: none
  int link;   // its placeholder; 0: none
  int width = 46;
  DWORD align = DS_RIGHT;
};

}  // namespace health

namespace pages {

// The description boxes, the legend under them and Apply and Retrieve at
// the bottom, in a column from x of width w.
std::vector<DialogItem> HealthSideItems(const health::SideIds& ids, int x, int w);
// The value lines, each on the last line of its group box in items.
void AddHealthValueItems(std::vector<DialogItem>& items, std::span<const health::ValueLine> values);

}  // namespace pages

class CHealthPage : public CAnnunciatorPage {
 public:
  CHealthPage(UINT templateId, const char* titleKey, UINT timerId, std::span<const alarms::AlarmGroup> groups,
              std::span<const alarms::AlarmRow> rows, std::span<const health::RowTexts> texts,
              const health::SideIds& side, StatusHeaderIds header = {});
  void OnInitialUpdate() override;

 protected:
  void CreateControls() override;
  void OnShown() override;
  void OnSelectAlert();

  void AddLinks(std::span<const health::Link> links);
  // Captions and tool tips of the value lines.
  void AddValueLines(std::span<const health::ValueLine> values);
  // More work on a step of the page's machine, after the step's own.
  void ExtendStep(int step, std::function<void()> transact, std::function<void()> show);

  // The refresh of a summary page, every third idle tick: the header's
  // poll and the page's reads in one tick, then the lamps and what the
  // page shows. Apply and Retrieve make it due at the first idle tick.
  PageStep RefreshStep(int step, std::function<void()> reads, std::function<void()> show, int next);

  // The links go inactive (grey, no click) with the action buttons while
  // a request is pending, and come back with them.
  void EnableActionButtons(BOOL enable) override;
  bool m_bLinksFollowButtons = false;

 private:
  // A value line whose caption is longer than its field moves its box,
  // unit and Reset button right as far as the line has room, and narrows
  // the box by the rest.
  void FitValueLines();

  std::span<const health::RowTexts> m_texts;
  health::SideIds m_side;
  std::span<const health::Link> m_links;
  std::span<const health::ValueLine> m_values;
  std::vector<IiLabelXPtr> m_linkLabels;
  std::vector<std::unique_ptr<CWnd>> m_linkHosts;
};
