// Registers the Qt runners of the files library's windows.
#include "files/install.h"

#include <QPointer>
#include <memory>

#include "files/dialogs.h"
#include "files/files.h"
#include "files/print_dialog.h"
#include "platform/commands.h"
#include "platform/host.h"

namespace qv {

void InstallFilesForms(AppState& S, CommandRegistry&, QWidget* owner) {
  if (!S.host) return;
  AppState* state = &S;
  QPointer<QWidget> parent(owner);

  // The prompt is created on first use and only hidden afterwards.
  auto prompt = std::make_shared<QPointer<SaveChangesDialog>>();
  S.host->RegisterForm("SaveChanges", [state, parent, prompt] {
    if (!*prompt) *prompt = new SaveChangesDialog(*state, parent);
    (*prompt)->Ask();
  });
  // The other windows are created when shown and destroyed when closed.
  S.host->RegisterForm("StartUp", [parent] {
    StartUpDialog d(parent);
    d.exec();
  });
  S.host->RegisterForm("AboutQuorvane", [state, parent] {
    AboutDialog d(*state, parent);
    d.exec();
  });
  S.host->RegisterForm("Tips", [state, parent] {
    TipsDialog d(*state, parent);
    d.exec();
  });
  S.host->RegisterForm("SelectDir", [state] { SelectDir(*state); });
  // The print window is created on first use and only hidden afterwards.
  auto print = std::make_shared<QPointer<PrintProofDialog>>();
  S.host->RegisterForm("PrintProof", [state, parent, print] {
    if (!*print) *print = new PrintProofDialog(*state, parent);
    (*print)->Ask();
  });
}

}  // namespace qv
