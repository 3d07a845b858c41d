// The axiom, definition, set-axiom and schema commands, registered by menu name.
#include "axioms/axioms.h"
#include "axioms/install.h"
#include "platform/commands.h"

namespace qv {

// Registers each axiom, definition, set-axiom and schema command under the
// name of its menu item.
void InstallAxiomCommands(AppState& S, CommandRegistry& commands, QWidget*) {
  AppState* s = &S;
  struct Entry {
    const char* Name;
    void (*Fn)(AppState&);
  };
  static const Entry entries[] = {
      {"optNumberAxioms", optNumberAxioms_Click},
      {"optGroupAxioms", optGroupAxioms_Click},
      {"optRingAxioms", optRingAxioms_Click},
      {"optAddProperties", optAddProperties_Click},
      {"optSubtraction", optSubtraction_Click},
      {"optMultiplicationProperties", optMultiplicationProperties_Click},
      {"optDivision", optDivision_Click},
      {"optExponentPropeterties", optExponentPropeterties_Click},
      {"OptLessThan", optLessThan_Click},
      {"optGreateThan", optGreateThan_Click},
      {"optLessThanOrEqual", optLessThanOrEqual_Click},
      {"optGreaterThanOrEqual", optGreaterThanOrEqual_Click},
      {"optSummationProperties", optSummationProperties_Click},
      {"optProductProperties", optProductProperties_Click},
      {"optSetOps", optSetOps_Click},
      {"optPairwiseUnion", optPairwiseUnion_Click},
      {"optArbitraryUnion", optArbitraryUnion_Click},
      {"optChoice", optChoice_Click},
      {"optAxiom", optAxiom_Click},
      {"optCartesianProd", optCartesianProd_Click},
      {"optPowerSet", optPowerSet_Click},
      {"optFunction", optFunction_Click},
      {"optSetEquality", optSetEquality_Click},
      {"optNtupleEQ", optNtupleEQ_Click},
      {"optFunctionSpace", optFunctionSpace_Click},
      {"optFunctionEquality", optFunctionEquality_Click},
  };
  for (const Entry& e : entries) {
    void (*fn)(AppState&) = e.Fn;
    commands.Add(e.Name, [s, fn] { fn(*s); });
  }
}

}  // namespace qv
