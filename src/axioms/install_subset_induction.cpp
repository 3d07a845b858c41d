// Registers the Qt runners of the subset-axiom and induction windows.
#include <QPointer>
#include <memory>

#include "axioms/install.h"
#include "axioms/subset_qt.h"
#include "platform/commands.h"
#include "platform/host.h"

namespace qv {

// Each dialog is created on first use and kept (hidden) between uses; after
// it was closed from its frame the next use creates a fresh one.
void InstallSubsetInductionForms(AppState& S, CommandRegistry& commands, QWidget* owner) {
  if (S.host) {
    auto subset = std::make_shared<QPointer<SubsetDialog>>();
    S.host->RegisterForm(kSubsetForm, [&S, owner, subset]() {
      if (*subset && (*subset)->Unloaded()) {
        (*subset)->deleteLater();
        *subset = nullptr;
      }
      if (!*subset) *subset = new SubsetDialog(S, owner);
      (*subset)->RunModal();
    });
    auto induction = std::make_shared<QPointer<InductionDialog>>();
    S.host->RegisterForm(kInductionForm, [&S, owner, induction]() {
      if (*induction && (*induction)->Unloaded()) {
        (*induction)->deleteLater();
        *induction = nullptr;
      }
      if (!*induction) *induction = new InductionDialog(S, owner);
      (*induction)->RunModal();
    });
  }
  commands.Add("optAdd", [&S]() { optAdd_Click(S); });
}

}  // namespace qv
