#include "entry/install.h"

namespace qv {

void InstallEntryForms(AppState&, CommandRegistry&, QWidget*) {}

}  // namespace qv
