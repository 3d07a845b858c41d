// The Help menu and the toolbar's Help button (manual, web page, about window,
// start-up tip option), the Edit menu's Copy and clipboard format, and Print.
#include "mainwindow/helpcopyprint.h"

#include <stdexcept>
#include <string>

#include "view/view.h"
#include "files/files.h"
#include "files/helpfile.h"
#include "platform/commands.h"
#include "platform/host.h"
#include "platform/richbox.h"
#include "files/print.h"

namespace qv {

namespace {

constexpr const char* kHelpFile = "Quorvane.chm";

}  // namespace

void cmdHelp_Click(AppState& S) {
  ClearStatus(S);
  if (!S.host) return;
  const std::string path = FindHelpIndex(S.Ui.AppPath);
  if (path.empty() || !S.host->OpenHelp(path))
    S.host->MessageBox(std::string("Help file \"") + kHelpFile + "\" not found", "SYSTEM ERROR",
                       MsgButtons::Ok, MsgIcon::Critical);
}

void optUserManual_Click(AppState& S) { cmdHelp_Click(S); }

void optQuorvaneOnlline_Click(AppState& S) {
  // The manual's front page in the desktop's browser; the web address only
  // where the program has no manual beside it.
  OpenQuorvaneOnline(S, kQuorvaneWebSite, true);
}

void optAbout_Click(AppState& S) {
  if (S.host) S.host->ShowModal("AboutQuorvane");
}

void optShowTip_Click(AppState& S) {
  if (!S.host) return;
  const bool show = !S.host->ControlChecked("optShowTip");
  S.host->SetControlChecked("optShowTip", show);
  // The check mark stays as the user set it even when the file could not
  // be written; the failure is reported.
  if (!WriteUserOption(S, show)) {
    S.host->Beep();
    ShowStatus(S, kUnableMessage);
  }
}

void optCopy_Click(AppState& S) {
  if (S.View) CopySel(S, *S.View);
}

void optRichTextMode_Click(AppState& S) {
  if (S.host) S.host->SetControlChecked("optRichTextMode", !S.host->ControlChecked("optRichTextMode"));
}

void optPrint_Click(AppState& S) {
  const DocState& d = S.Doc;
  if (d.ProofText.empty()) {
    ShowStatus(S, "Print:  Nothing to print");
    return;
  }
  int first = 1, last = d.StmtCount;
  if (S.View && S.View->SelLength() > 0) {
    // 1-based view positions: the selection's first character and the one
    // just after it. A statement's span in the view runs from its block's
    // start to the end of its rule text.
    const int32_t s = S.View->SelStart() + 1;
    const int32_t e = S.View->SelStart() + S.View->SelLength() + 1;
    for (int k = 1; k <= d.StmtCount; ++k) {
      const StmtRec& st = d.Stmts[k];
      if (!st.Visible) continue;
      const int32_t from = st.ViewerStartLine;
      const int32_t to = st.EndRule - (st.StartLine - st.ViewerStartLine);
      if (s >= from && s <= to) first = k;
      if (e >= from && e <= to) {
        last = k;
        break;
      }
    }
  }
  PrintProofOf(S).Text1 = " " + std::to_string(first);
  PrintProofOf(S).Text2 = " " + std::to_string(last);
  if (!S.host || !S.host->ShowModal("PrintProof")) throw std::runtime_error("no print window");
}

void RegisterHelpCommands(AppState& S, CommandRegistry& commands) {
  AppState* s = &S;
  const std::pair<const char*, void (*)(AppState&)> items[] = {
      {"cmdHelp", &cmdHelp_Click},
      {"optUserManual", &optUserManual_Click},
      {"optQuorvaneOnlline", &optQuorvaneOnlline_Click},
      {"optAbout", &optAbout_Click},
      {"optShowTip", &optShowTip_Click},
      {"optCopy", &optCopy_Click},
      {"optRichTextMode", &optRichTextMode_Click},
      {"optPrint", &optPrint_Click},
  };
  // A name another part of the program already answers stays with it.
  for (const auto& [name, fn] : items)
    if (!commands.Has(name)) commands.Add(name, [s, fn] { fn(*s); });
}

}  // namespace qv
