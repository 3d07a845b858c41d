#include "mainwindow/dispatch.h"

namespace qv {

void RTB_Click(AppState&) {}
void RTB_DblClick(AppState&) {}
void DelAllSubsequent_Click(AppState&) {}
void DeleteAllRef_Click(AppState&) {}

}  // namespace qv
