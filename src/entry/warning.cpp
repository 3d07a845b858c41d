// The Warning box: its message and its Continue and Cancel answers.
#include "entry/warning.h"

#include "entry/editor.h"
#include "platform/host.h"
#include "view/view.h"

namespace qv {

void WarningBox::Activate() {
  Label = WarningBoxOf(S_).Text;
  S_.Ui.DialogCancelled = false;
  if (S_.host) S_.host->Beep();
}

void WarningBox::Continue() {
  if (OnHide) OnHide();
}

void WarningBox::Cancel() {
  S_.Ui.DialogCancelled = true;
  if (OnHide) OnHide();
}

bool WarningBox::FormKeyPress(char c) {
  if (c != kKeyEsc) return false;
  Cancel();
  return true;
}

}  // namespace qv
