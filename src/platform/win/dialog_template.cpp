#include "platform/win/dialog_template.h"

#include <map>

namespace plat {

CRect DluToPixels(int x, int y, int cx, int cy) {
  const int left = DluToPixelsX(x);
  const int top = DluToPixelsY(y);
  return CRect(left, top, left + DluToPixelsX(cx), top + DluToPixelsY(cy));
}

CSize DluToPixels(CSize dlu) { return CSize(DluToPixelsX(dlu.cx), DluToPixelsY(dlu.cy)); }

namespace {
std::map<UINT, DialogTemplate>& Templates() {
  static std::map<UINT, DialogTemplate> templates;
  return templates;
}
}  // namespace

void RegisterDialogTemplate(DialogTemplate dialog) {
  const UINT id = dialog.id;
  Templates()[id] = std::move(dialog);
}

const DialogTemplate* FindDialogTemplate(UINT id) {
  const auto it = Templates().find(id);
  return it == Templates().end() ? nullptr : &it->second;
}

}  // namespace plat
