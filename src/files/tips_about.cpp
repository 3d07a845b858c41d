// The tips and about windows without their widgets: the tips' texts and the
// one chosen at start-up, the start-up tip option, the about window's web link.
#include <chrono>
#include <random>

#include "files/files.h"
#include "files/filesinternal.h"
#include "files/helpfile.h"
#include "platform/host.h"

namespace qv {

const std::array<const char*, kTipCount + 1> kTips = {
    "",
    "A typical proof cycle consists of a premise followed by one or more inferences, then a conclusion and a "
    "generalization. You will typically have several such proof cycles within a proof, some nested within others.",
    "Use an Introduction to keep your overall objective visible at all times.",
    "Use the Conclusion tag (indicated by triangle symbol), as well as highlighting to minimize the number of "
    "statements visible at any one time. Saves confusion. Improves response time.",
    "Establish sufficient conditions for each proof objective as soon as possible.",
    "Use \"Prove\" and \"Sufficient\" headings to make your objectives clear. Search on these headings if you get "
    "\"lost.\"",
    "Use \"As Required\" headings to indicate intermediate results that will be used later.",
    "Use comments to ensure that the reader will understand what you are doing and why without having to look "
    "ahead. Helps keep YOU on track, too.",
    "If there are a fixed number of cases to consider in your proof, try using the Case Rule on the Logic Menu.",
    "To prove a statement is false, trying supposing it is true in a premise. Then derive a contradiction from it. "
    "Invoking the Conclusion Rule will then give the required result.",
    "To prove the existence of a set or function, try using the Sets menu to construct it from sets given your "
    "initial premise(s). Then show that your construction has the required properties.",
    "To prove an OR-statement, it is sufficient to prove that either side is true. Use the Arbitrary OR Rule on the "
    "Logic menu to fill in the missing side.",
    "Try to use the letters a-j for bound variables. Use numbers and the letters k-z for free variables. Prevents "
    "subsequent conflicts of variable usage. Saves annoying rewrites. Variables may be of any length.",
    "Free variables introduced by Existential Specification should be introduced as soon as possible to avoid "
    "creating unintended dependencies among variables.",
    "To prove an implication, try starting with a premise corresponding to the left-hand side (the antecedent). "
    "Then prove the right-hand side (the consequent) and invoke the Conclusion Rule.",
};

int RandomTipIndex() {
  static std::mt19937 gen(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
  return std::uniform_int_distribution<int>(1, kTipCount)(gen);
}

void TipsCheckClicked(AppState& S, bool Checked) {
  if (!WriteUserOption(S, Checked)) FilesBeep(S);
  if (S.host) S.host->SetControlChecked("optShowTip", Checked);
}

void OpenQuorvaneOnline(AppState& S, const std::string& Site, bool ManualFirst) {
  if (!S.host) return;
  const std::string index = FindHelpIndex(S.Ui.AppPath);
  const std::string manual = index.empty() ? "" : FileUrl(index);
  const std::string& first = ManualFirst ? manual : Site;
  const std::string& second = ManualFirst ? Site : manual;
  if (!first.empty() || !second.empty()) {
    S.host->OpenUrl(first.empty() ? second : first);
    return;
  }
  S.host->MessageBox("There is nothing to open: no manual was found beside the program, and it was built "
                     "without a web address.",
                     "WARNING", MsgButtons::Ok, MsgIcon::Warning);
}

void AboutGoOnline(AppState& S) { OpenQuorvaneOnline(S, kQuorvaneWebSite, false); }

}  // namespace qv
