// Registers the rule library's commands and the Qt runners of its windows.
#include "rules/install.h"

#include <QPointer>
#include <memory>

#include "platform/commands.h"
#include "platform/host.h"
#include "rules/inputbox.h"
#include "rules/inputbox_qt.h"
#include "rules/rules.h"

namespace qv {

void InstallRulesForms(AppState& S, CommandRegistry& commands, QWidget* owner) {
  // The input box is created on first use and kept (hidden) between uses;
  // after it was closed from its frame the next use creates a fresh one.
  auto dialog = std::make_shared<QPointer<InputBoxDialog>>();
  if (S.host) {
    S.host->RegisterForm(kInputBoxForm, [&S, owner, dialog]() {
      if (*dialog && (*dialog)->Unloaded()) {
        (*dialog)->deleteLater();
        *dialog = nullptr;
      }
      if (!*dialog) *dialog = new InputBoxDialog(S, owner);
      (*dialog)->Run();
    });
  }
  InstallEGenForms(S, commands, owner);
  InstallSubstituteForms(S, commands, owner);
  // The Conclusion runs at once from the menu and the toolbar.
  for (const char* name : {"optConclusion", "cmdConclusion"})
    if (!commands.Has(name)) commands.Add(name, [&S]() { optConclusion_Click(S); });
}

}  // namespace qv
