#pragma once
// Dialog templates declared in code. A page lists its controls as they
// stand in its template: id, kind, text, rectangle in dialog units, style.
// A placeholder is an invisible group box without text: it only marks a
// rectangle.
//
//   static const plat::DialogTemplateRegistrar kTemplate({308, 850, 42, {
//       {-1,   DlgKind::GroupBox, "", 0, 29, 711, 12, DS_HIDDEN},
//       {1009, DlgKind::Picture,  "", 5, 29, 15, 13},
//       {1035, DlgKind::Static,   "", 19, 29, 50, 8},
//       {1004, DlgKind::GroupBox, "", 2, 2, 61, 16, DS_HIDDEN},
//   }});
//
// Dialog units become pixels with fixed base units of 6 x 13 (an 8-point
// interface font): x and width times 6/4, y and height times 13/8, each
// rounded on its own, so a layout is the same on every machine.
#include <string>
#include <vector>

#include "platform/win/types.h"

enum class DlgKind {
  Static,    // text
  Picture,   // static showing a bitmap or an icon (image = its id, or 0)
  GroupBox,  // frame with a title; a hidden one without text is a placeholder
  PushButton,
  CheckBox,
  RadioButton,
  Edit,
  ComboBox,  // drop-down list; the height is the opened list's height
  ListBox,
  Progress,
};

// Item style flags.
enum : unsigned {
  DS_HIDDEN = 1u << 0,     // not WS_VISIBLE
  DS_DISABLED = 1u << 1,   // WS_DISABLED
  DS_GROUP = 1u << 2,      // WS_GROUP: starts a new radio-button group
  DS_MANUAL = 1u << 3,     // check box / radio button the page checks itself (not "auto")
  DS_MULTILINE = 1u << 4,  // edit: several lines; static: wraps (statics always wrap)
  DS_READONLY = 1u << 5,   // edit
  DS_NUMBER = 1u << 6,     // edit: digits only from the keyboard
  DS_VSCROLL = 1u << 7,    // edit, list: vertical scroll bar
  DS_RIGHT = 1u << 8,      // text aligned right
  DS_CENTER = 1u << 9,     // text centred
  DS_SUNKEN = 1u << 10,    // static with a sunken edge
  DS_BITMAP = 1u << 11,    // push button showing a bitmap
  DS_DEFAULT = 1u << 12,   // default push button
  DS_SORT = 1u << 13,      // combo box / list box sorted
  DS_ICON = 1u << 14,      // picture shows an icon (else a bitmap)
  DS_TRISTATE = 1u << 15,  // check box with three states
  DS_PASSWORD = 1u << 16,  // edit
};

struct DialogItem {
  int id = -1;  // -1 (IDC_STATIC) for an item without id
  DlgKind kind = DlgKind::Static;
  std::string text;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  unsigned style = 0;
  UINT image = 0;  // picture: bitmap or icon id shown from the start
};

struct DialogTemplate {
  UINT id = 0;
  int cx = 0, cy = 0;  // dialog units
  std::vector<DialogItem> items;
};

namespace plat {

constexpr int kDluBaseX = 6;
constexpr int kDluBaseY = 13;
constexpr int DluToPixelsX(int dlu) { return MulDiv(dlu, kDluBaseX, 4); }
constexpr int DluToPixelsY(int dlu) { return MulDiv(dlu, kDluBaseY, 8); }
// The pixel rectangle of a template rectangle.
CRect DluToPixels(int x, int y, int cx, int cy);
CSize DluToPixels(CSize dlu);

// Registers (or replaces) a template under its id.
void RegisterDialogTemplate(DialogTemplate dialog);
const DialogTemplate* FindDialogTemplate(UINT id);

// For a page's .cpp: registers the template during static initialisation.
struct DialogTemplateRegistrar {
  explicit DialogTemplateRegistrar(DialogTemplate dialog) { RegisterDialogTemplate(std::move(dialog)); }
};

}  // namespace plat
