// The fixed set axioms, the schemata and Create Axiom.
#include <exception>
#include <string>

#include "axioms/axioms.h"
#include "view/view.h"
#include "platform/host.h"
#include "rules/frame.h"
#include "rules/inputbox.h"
#include "entry/testparser.h"

namespace qv {
namespace {

const std::string kCrLf = "\r\n";

// A fixed set axiom needs nothing above it: it is put as it stands.
void PutFixedAxiom(AppState& S, int Rule, const std::string& Text) {
  try {
    FocusView(S);
    S.Doc.RuleMode = Rule;
    ClearStatus(S);
    const bool ok = PutAxiomTexts(S, Rule, {Text});
    S.Doc.RuleMode = 0;
    if (ok) ClearStatus(S);
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

// Opens the input box that asks for the order of a schema; the box builds
// and puts the schema itself.
void AskSchemaOrder(AppState& S, int Rule, const char* Caption, const char* Prompt) {
  try {
    S.Doc.RuleMode = Rule;
    ClearStatus(S);
    InputBoxOf(S).Caption = Caption;
    InputBoxOf(S).Label1 = Prompt;
    InputBoxOf(S).Label2.clear();
    if (!ShowInputBox(S)) S.Doc.RuleMode = 0;
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

}  // namespace

void optSetOps_Click(AppState& S) {
  PutFixedAxiom(S, 38,
                "ALL(a):[Set(a) =>" + kCrLf +
                    "EXIST(b):[Set(b) & ALL(c):[c@b <=> Set(c) & ALL(d): [d@c => d@a]]" + kCrLf +
                    "& ALL(c):ALL(d):[c@b & d@b => Set(c||d) & c||d@b & ALL(e):[e@c||d <=> e@c | "
                    "e@d]]" +
                    kCrLf +
                    "& ALL(c):ALL(d):[c@b & d@b => Set(c&&d) & c&&d@b & ALL(e):[e@c&&d <=> e@c & "
                    "e@d]]" +
                    kCrLf + "& ALL(c): [c@b => Set(`c) & `c@b & ALL(d):[d@`c <=> d@a & ~d@c]]]]");
}

void optPairwiseUnion_Click(AppState& S) {
  PutFixedAxiom(S, 49,
                "ALL(a):ALL(b):[Set(a) & Set(b) => EXIST(c):[Set(c) & ALL(d):[d @ c <=> d @ a | d "
                "@ b]]]");
}

void optArbitraryUnion_Click(AppState& S) {
  PutFixedAxiom(S, 50,
                "ALL(f):[Set(f) & ALL(a):[a @ f => Set(a)]" + kCrLf +
                    "=> EXIST(a):[Set(a) & ALL(b):[b @ a <=> EXIST(c):[c @ f & b @ c]]]]");
}

void optChoice_Click(AppState& S) {
  PutFixedAxiom(S, 51,
                "ALL(f):[Set(f) & ALL(a):[a @ f => Set(a) & EXIST(b):b @ a]" + kCrLf +
                    "=> EXIST(c):ALL(a):[a @ f => c(a) @ a]]");
}

// An axiom of the user's own, typed in the entry window; only above the
// first premise of the proof.
void optAxiom_Click(AppState& S) {
  DocState& d = S.Doc;
  try {
    const int limit = InsertionLimit(d);
    for (int j = 1; j < limit && j <= d.StmtCount; ++j) {
      if (d.Stmts[j].Rule == kRulePremise) {
        RefuseCommand(
            S, "Axiom Rule: Premise on previous line. Consider another insertion point for axiom.");
        FocusView(S);
        return;
      }
    }
    StartTypedStatement(S, kRuleAxiom, "Create an Axiom: Enter a logical expression");
    S.Parser.ParseErr = "Cancelled";
    const bool shown = S.host && S.host->ShowModal("TestParser");
    bool ok = true;
    if (shown && S.Parser.ParseErr.empty()) {
      // The window left the checked axiom in ExprText.
      d.RuleMode = kRuleAxiom;
      d.RuleArg1 = 0;
      d.RuleArg2 = 0;
      ok = PutWithUndo(S);
    }
    d.RuleMode = 0;
    if (ok) ClearStatus(S);
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

void optCartesianProd_Click(AppState& S) {
  AskSchemaOrder(S, 25, " Cartesian Product Axiom",
                 "Enter the number of sets in the product (2 or more)");
}

void optPowerSet_Click(AppState& S) {
  AskSchemaOrder(S, 26, "Power Set Axiom",
                 "Enter order of set  (1 for a regular set, 2 for a set of order pairs, etc.)");
}

void optFunction_Click(AppState& S) {
  AskSchemaOrder(S, 27, "Function Axiom",
                 "Enter the number of variables in the function (1 or more)");
}

void optSetEquality_Click(AppState& S) {
  AskSchemaOrder(
      S, 29, " Set Equality Axiom",
      "Enter order of sets to be compared  (1 for regular sets, 2 for sets of order pairs, etc.)");
}

void optNtupleEQ_Click(AppState& S) {
  AskSchemaOrder(S, 48, " N-tuple Equality Axiom",
                 "Enter order of n-tuple (2 for ordered pairs, 3 for ordered triples, etc.)");
}

void optFunctionSpace_Click(AppState& S) {
  AskSchemaOrder(S, 53, "Function Space",
                 "Enter the number of variables in the function (1 or more)");
}

void optFunctionEquality_Click(AppState& S) {
  AskSchemaOrder(S, 54, " Function Equality Axiom", "Enter number of variables in functions");
}

}  // namespace qv
