#include "files/install.h"

namespace qv {

void InstallFilesForms(AppState&, CommandRegistry&, QWidget*) {}

}  // namespace qv
