// The program's dialog descriptions, looked up by resource id when a dialog
// runs; each program adds its own at start-up.
#pragma once

#include "platform/dialog_template.h"

// Adds or replaces the description with the same id.
void AddDialogResource(DialogTemplate dialog);
// nullptr when the program has no dialog with that id.
const DialogTemplate* FindDialogResource(int id);
void ClearDialogResources();
