// Commands that insert axioms and definitions: the axiom sets of the numbers,
// groups and rings, the definitions of the arithmetic operations and orders,
// the fixed set axioms, Create Axiom and the schema commands.
#pragma once

#include <string>
#include <vector>

#include "document/state.h"

namespace qv {

// ---- Steps shared by the axiom and definition commands ----

// Beep, then Message on the status line; nothing else changes.
void RefuseCommand(AppState& S, const std::string& Message);
// Parses each text before anything is changed; on the first that does not
// parse: beep, "PARSER ERROR: " and the parser's message, and false.
bool AllTextsParse(AppState& S, const std::vector<std::string>& Texts);
// Puts Texts as statements of Rule citing no line, all under one undo
// snapshot, after checking that every one parses. Either all are added or
// the proof and the undo state stay as they were (false, message shown).
bool PutAxiomTexts(AppState& S, int Rule, const std::vector<std::string>& Texts);

// ---- Axiom sets (Numbers menu) ----
// The seven number axioms, the induction axiom last, as Number Axioms puts them.
const std::vector<std::string>& NumberAxiomTexts();
void optNumberAxioms_Click(AppState& S);
void optGroupAxioms_Click(AppState& S);
void optRingAxioms_Click(AppState& S);

// ---- Definitions (Numbers > Definitions) ----
void optAddProperties_Click(AppState& S);
void optSubtraction_Click(AppState& S);
void optMultiplicationProperties_Click(AppState& S);
void optDivision_Click(AppState& S);
void optExponentPropeterties_Click(AppState& S);
void optLessThan_Click(AppState& S);
void optGreateThan_Click(AppState& S);
void optLessThanOrEqual_Click(AppState& S);
void optGreaterThanOrEqual_Click(AppState& S);
void optSummationProperties_Click(AppState& S);
void optProductProperties_Click(AppState& S);

// ---- Set axioms, Create Axiom and the schema commands ----
void optSetOps_Click(AppState& S);
void optPairwiseUnion_Click(AppState& S);
void optArbitraryUnion_Click(AppState& S);
void optChoice_Click(AppState& S);
void optAxiom_Click(AppState& S);
void optCartesianProd_Click(AppState& S);
void optPowerSet_Click(AppState& S);
void optFunction_Click(AppState& S);
void optSetEquality_Click(AppState& S);
void optNtupleEQ_Click(AppState& S);
void optFunctionSpace_Click(AppState& S);
void optFunctionEquality_Click(AppState& S);

}  // namespace qv
