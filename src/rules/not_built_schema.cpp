// The schemata of order n are not built yet: the input box refuses them.
#include "document/document.h"
#include "platform/host.h"
#include "rules/rules.h"
#include "rules/inputbox.h"

namespace qv {

InputBoxOutcome SchemaContinue(AppState& S) {
  if (S.host) S.host->Beep();
  S.Ui.InputBox.Label2 = "Unable to process request";
  return InputBoxOutcome{};
}

}  // namespace qv
