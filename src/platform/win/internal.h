#pragma once
// Shared between the window layer's own files; pages do not include it.
#include <QWidget>

#include "platform/win/types.h"

namespace plat::win {

// Widget properties: the control id, and a flag set while the program
// itself changes a multi-line edit's text.
inline constexpr const char* kIdProperty = "tarnix_id";
inline constexpr const char* kProgramSetProperty = "tarnix_program_set";

// Sends a WM_COMMAND-style notification from a control widget to the
// window that contains it.
void NotifyParentOf(QWidget* widget, UINT code);

// The check state of a button widget (0, 1, 2) and setting it without a
// notification.
int ButtonCheck(const QWidget* widget);
void SetButtonCheck(QWidget* widget, int check);

// The font and colours every page uses.
void ApplyDialogLook(QWidget* widget);

}  // namespace plat::win
