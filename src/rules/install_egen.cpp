// Registers the Qt runner of the Generalize window.
#include <QPointer>
#include <memory>

#include "platform/host.h"
#include "rules/egen.h"
#include "rules/egen_qt.h"
#include "rules/install.h"

namespace qv {

// The generalize window is created on first use and kept (hidden) between
// uses; each showing starts it afresh.
void InstallEGenForms(AppState& S, CommandRegistry&, QWidget* owner) {
  if (!S.host) return;
  auto dialog = std::make_shared<QPointer<GeneralizeDialog>>();
  S.host->RegisterForm(kGeneralizeForm, [&S, owner, dialog]() {
    if (!*dialog) *dialog = new GeneralizeDialog(S, owner);
    (*dialog)->Run();
  });
}

}  // namespace qv
