// Registers the Qt runner of the Substitution dialog.
#include <QPointer>
#include <memory>

#include "platform/host.h"
#include "rules/install.h"
#include "rules/substitute.h"
#include "rules/substitute_qt.h"

namespace qv {

// The Substitution dialog is created on first use and kept (hidden) between
// uses; it rebuilds its content on each showing.
void InstallSubstituteForms(AppState& S, CommandRegistry&, QWidget* owner) {
  if (!S.host) return;
  auto dialog = std::make_shared<QPointer<SubstitutionDialog>>();
  S.host->RegisterForm(kSubstitutionForm, [&S, owner, dialog]() {
    if (!*dialog) *dialog = new SubstitutionDialog(S, owner);
    (*dialog)->Run();
  });
}

}  // namespace qv
