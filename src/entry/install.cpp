// Registers the Qt runners of the entry library's windows.
#include "entry/install.h"

#include <QPointer>

#include "document/state.h"
#include "entry/forms_qt.h"
#include "platform/commands.h"
#include "platform/host.h"

namespace qv {

// Each window is created on first use and only hidden afterwards, so its
// controls keep their state between uses.
void InstallEntryForms(AppState& S, CommandRegistry& commands, QWidget* owner) {
  (void)commands;  // the entry library owns no menu command of the main window
  if (!S.host) return;
  AppState* s = &S;
  QPointer<QWidget> parent(owner);
  auto testParser = std::make_shared<QPointer<TestParserDialog>>();
  S.host->RegisterForm("TestParser", [s, parent, testParser] {
    if (!*testParser) *testParser = new TestParserDialog(*s, parent);
    (*testParser)->RunModal();
  });
  auto comment = std::make_shared<QPointer<CommentDialog>>();
  S.host->RegisterForm("Comment", [s, parent, comment] {
    if (!*comment) *comment = new CommentDialog(*s, parent);
    (*comment)->RunModal();
  });
  auto warning = std::make_shared<QPointer<WarningDialog>>();
  S.host->RegisterForm("Warning", [s, parent, warning] {
    if (!*warning) *warning = new WarningDialog(*s, parent);
    (*warning)->RunModal();
  });
}

}  // namespace qv
