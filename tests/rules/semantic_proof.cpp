#include "semantic_proof.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

#include "document/document.h"

namespace qv::sem {

bool IsAxiomRule(int Rule) {
  switch (Rule) {
    case kRuleAxiom:
    case kRuleSubset:
    case kRuleInduction:
    case 25:  // Cart Prod
    case 26:  // Power Set
    case 27:  // Function
    case 29:  // Set Equality
    case 35:  // Definition
    case 38:  // Set Ops
    case 48:  // Ntuple Equality
    case 49:  // Pw Union
    case 50:  // Arb Union
    case 51:  // Choice
    case 53:  // Fn Space
    case 54:  // Fn Equality
      return true;
    default:
      return false;
  }
}

namespace {

// Rules whose line rests on the lines it cites alone: the line must follow
// from them in every model, whatever else the proof assumes. Under the
// number axioms, which no finite model satisfies, this is the only reading
// that still judges such lines.
bool RestsOnCitedLines(int Rule) {
  switch (Rule) {
    case kRuleUSpec: case kRuleEGen: case kRuleQuant: case kRuleRemDNeg: case 13:  // Ins DNeg
    case kRuleJoin: case kRuleSplit: case kRuleDetach: case kRuleIffAnd: case kRuleImplyAnd:
    case kRuleContra: case kRuleDeMorgan: case kRuleArbOr: case kRuleArbAnte: case kRuleArbCons:
    case kRuleSubstitute: case kRuleSym: case kRuleImplyOr: case kRuleCases: case 39:  // Implies
    case 40: case 41:  // Iff, Or
    case kRuleRename: case kRuleReorder: case 52:  // Copy
      return true;
    default:
      return false;
  }
}

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

// True when line k can be seen from line l >= k: no closed subproof holds k
// and ends before l.
bool Visible(const DocState& d, int k, int l) {
  for (int p = 1; p <= k; ++p) {
    const StmtRec& s = d.Stmts[static_cast<size_t>(p)];
    if (s.Rule != kRulePremise || s.Arg1 <= p) continue;
    if (k < s.Arg1 && l >= s.Arg1) return false;
  }
  return true;
}

std::string StepText(const Step& s, const std::vector<std::string>& names) {
  switch (s.kind) {
    case Step::kForAll: return "for all " + names[static_cast<size_t>(s.var)];
    case Step::kExists: return "some " + names[static_cast<size_t>(s.var)];
    case Step::kAssume: return "assume " + s.label + ": " + s.formula->text;
    case Step::kClaim: return "claim  " + s.label + ": " + s.formula->text;
  }
  return "";
}

}  // namespace

ProofChecker::ProofChecker(uint64_t Seed, int Models) : seed_(Seed), models_(Models) {}

std::shared_ptr<Formula> ProofChecker::CompileCached(const std::string& Text, std::string& Err) {
  auto it = compiled_.find(Text);
  if (it == compiled_.end()) {
    std::string err;
    auto f = Compile(Text, slots_, err);
    slotNames_.resize(slots_.size());
    for (const auto& [name, slot] : slots_) slotNames_[static_cast<size_t>(slot)] = name;
    it = compiled_.emplace(Text, std::make_pair(f, err)).first;
  }
  Err = it->second.second;
  return it->second.first;
}

std::string ProofChecker::Decide(const std::vector<Step>& Steps) {
  std::string key;
  for (const Step& s : Steps) {
    key += static_cast<char>('0' + s.kind);
    key += s.kind == Step::kForAll || s.kind == Step::kExists ? slotNames_[static_cast<size_t>(s.var)]
                                                               : s.formula->text;
    key += '\n';
  }
  auto it = decided_.find(key);
  if (it != decided_.end()) {
    ++remembered;
    return it->second;
  }
  ++checks;
  Evaluator ev(static_cast<int>(slots_.size()));
  std::string verdict;
  int universals = 0;
  for (const Step& s : Steps) universals += s.kind == Step::kForAll;
  // Lines of proposition letters alone: the whole truth table.
  bool propositional = universals == 0;
  std::vector<uint64_t> letters;
  for (const Step& s : Steps) {
    if (!s.formula) continue;
    for (const Expr& e : s.formula->nodes) {
      if (e.op == Expr::kRel && e.args.empty()) {
        if (std::find(letters.begin(), letters.end(), e.key) == letters.end()) letters.push_back(e.key);
      } else if (e.op != Expr::kNot && e.op != Expr::kAnd && e.op != Expr::kOr &&
                 e.op != Expr::kImply && e.op != Expr::kIff) {
        propositional = false;
      }
    }
  }
  if (propositional && letters.size() <= 12) {
    Evaluator tt(static_cast<int>(slots_.size()));
    for (uint32_t row = 0; row < (1u << letters.size()) && verdict.empty(); ++row) {
      Model m;
      m.size = 1;
      for (size_t i = 0; i < letters.size(); ++i) m.letters.emplace_back(letters[i], (row >> i) & 1u);
      if (tt.Sentence(Steps, m, slotNames_, nullptr)) continue;
      std::vector<std::string> symbols;
      std::ostringstream o;
      for (const Step& s : Steps) {
        o << "    " << StepText(s, slotNames_) << "\n";
        if (s.formula) SymbolsOf(*s.formula, symbols);
      }
      o << "  counter-model, row " << row << " of the truth table: " << m.Describe(symbols);
      verdict = o.str();
    }
    decided_.emplace(key, verdict);
    return verdict;
  }
  for (int j = 0; j < models_ && verdict.empty(); ++j) {
    Model m;
    m.size = 1 + j % 3;
    m.seed = seed_ * 0x9e3779b97f4a7c15ULL + static_cast<uint64_t>(j) * 0x632be59bd9b4e019ULL;
    // Every value of every variable while that stays cheap, else values
    // drawn at random, several draws per model.
    double cases = 1;
    for (int i = 0; i < universals; ++i) cases *= m.size;
    const int draws = cases > 256 ? 6 : 1;
    std::string values;
    bool holds = true;
    for (int k = 0; k < draws && holds; ++k) {
      ev.draw = draws > 1 ? m.seed ^ (static_cast<uint64_t>(k + 1) * 0xda942042e4dd58b5ULL) : 0;
      holds = ev.Sentence(Steps, m, slotNames_, &values);
    }
    if (holds) continue;
    std::vector<std::string> symbols;
    std::ostringstream o;
    for (const Step& s : Steps) {
      o << "    " << StepText(s, slotNames_) << "\n";
      if (s.formula) SymbolsOf(*s.formula, symbols);
    }
    o << "  counter-model " << j << ": " << m.Describe(symbols) << "\n  values: " << values;
    verdict = o.str();
  }
  decided_.emplace(key, verdict);
  return verdict;
}

std::vector<LineFault> ProofChecker::Check(const DocState& d) {
  std::vector<LineFault> faults;
  std::vector<Line> lines(static_cast<size_t>(d.StmtCount) + 1);
  for (int k = 1; k <= d.StmtCount; ++k) {
    Line& ln = lines[static_cast<size_t>(k)];
    const StmtRec& s = d.Stmts[static_cast<size_t>(k)];
    ln.rule = s.Rule;
    ln.witness = Trim(s.NewVar);
    std::string text;
    try {
      text = StmtFormula(d, k);
    } catch (const std::exception& e) {
      faults.push_back({k, "text", std::string("formula outside the proof text: ") + e.what()});
      return faults;
    }
    ln.f = CompileCached(text, ln.err);
    if (!ln.f && ln.err.rfind("does not parse", 0) == 0) faults.push_back({k, "text", ln.err});
    ln.text = text;
  }
  if (!faults.empty()) return faults;
  // A subset axiom holds whatever its names stand for (its new set is bound
  // and fresh), so it may name a witness or a name a premise brings in: it
  // is read as holding for every value of each name free in it, which
  // leaves a witness to be chosen at its own E Spec line.
  // An induction line holds, under the number axioms above it, whatever the
  // other names of its property stand for: it is read as holding for every
  // value of each name free in it but n and the numerals, so a Conclusion may
  // generalise over a premise's name in its property.
  for (int k = 1; k <= d.StmtCount; ++k) {
    Line& ln = lines[static_cast<size_t>(k)];
    if ((ln.rule != kRuleSubset && ln.rule != kRuleInduction) || !ln.f) continue;
    std::string closed = "[" + ln.text + "]";
    bool any = false;
    for (const std::string& v : ln.f->freeVars) {
      if (ln.rule == kRuleInduction && (v == "n" || std::isdigit(static_cast<unsigned char>(v[0])))) continue;
      closed = "ALL(" + v + "):" + closed;
      any = true;
    }
    if (any) ln.f = CompileCached(closed, ln.err);
  }

  auto label = [&](int k) {
    return std::to_string(k) + " (" + std::string(RuleNames[static_cast<size_t>(lines[static_cast<size_t>(k)].rule)]) + ")";
  };
  for (int l = 1; l <= d.StmtCount; ++l) {
    const Line& L = lines[static_cast<size_t>(l)];
    if (L.rule == kRulePremise) continue;  // an assumption
    std::vector<int> seen;  // visible lines, l last
    bool interpretable = true;
    bool witnesses = false;
    for (int k = 1; k <= l; ++k) {
      const Line& K = lines[static_cast<size_t>(k)];
      // An axiom holds everywhere below it, also one a subproof holds.
      if (!IsAxiomRule(K.rule) && !Visible(d, k, l)) continue;
      const bool used = K.rule == kRulePremise || K.rule == kRuleESpec || IsAxiomRule(K.rule) || k == l;
      if (used && !K.f) interpretable = false;
      if (K.rule == kRuleESpec) witnesses = true;
      seen.push_back(k);
    }
    // The sentence: for all values of every variable, the lines Assumed
    // imply L; "" when it holds in every sampled model.
    auto implied = [&](const std::vector<int>& Assumed) {
      std::vector<Step> steps;
      std::set<int> bound;
      auto forall = [&](const Formula& f) {
        for (const std::string& v : f.freeVars) {
          const int slot = slots_.at(v);
          if (bound.insert(slot).second) steps.push_back({Step::kForAll, slot, nullptr, ""});
        }
      };
      for (const int k : Assumed) {
        const Line& K = lines[static_cast<size_t>(k)];
        forall(*K.f);
        steps.push_back({Step::kAssume, -1, K.f, label(k)});
      }
      forall(*L.f);
      steps.push_back({Step::kClaim, -1, L.f, label(l)});
      return Decide(steps);
    };

    // Local: the cited lines alone imply L.
    const StmtRec& sl = d.Stmts[static_cast<size_t>(l)];
    if (RestsOnCitedLines(L.rule) && sl.Arg1 > 0 && L.f) {
      std::vector<int> cited;
      bool ok = true;
      for (const int c : {static_cast<int>(sl.Arg1), static_cast<int>(sl.Arg2)}) {
        if (c < 1 || c >= l) continue;
        ok = ok && lines[static_cast<size_t>(c)].f != nullptr;
        cited.push_back(c);
      }
      const std::string v = ok ? implied(cited) : "";
      if (!v.empty()) {
        faults.push_back({l, "from its cited lines", v});
        continue;
      }
    }
    if (!interpretable) {
      ++skipped;
      continue;
    }

    // Implied: the assumptions and the E Spec lines before L imply it.
    if (!IsAxiomRule(L.rule) && L.rule != kRuleESpec) {
      std::vector<int> assumed;
      for (int k : seen) {
        const Line& K = lines[static_cast<size_t>(k)];
        if (k != l && (K.rule == kRulePremise || K.rule == kRuleESpec || IsAxiomRule(K.rule)))
          assumed.push_back(k);
      }
      const std::string v = implied(assumed);
      if (!v.empty()) {
        faults.push_back({l, "implied", v});
        continue;
      }
    }

    // In order: axioms first, then the lines as they stand, witnesses chosen.
    if (!witnesses) continue;
    std::vector<Step> steps;
    std::set<int> bound;
    // The variables of the formulas in the sentence; others need no choice.
    std::set<std::string> used;
    for (int k : seen) {
      const Line& K = lines[static_cast<size_t>(k)];
      if (K.f && (k == l || K.rule == kRulePremise || K.rule == kRuleESpec || IsAxiomRule(K.rule)))
        used.insert(K.f->freeVars.begin(), K.f->freeVars.end());
    }
    auto forall = [&](const Formula& f, const std::string& except) {
      for (const std::string& v : f.freeVars) {
        if (v == except || !used.count(v)) continue;
        const int slot = slots_.at(v);
        if (bound.insert(slot).second) steps.push_back({Step::kForAll, slot, nullptr, ""});
      }
    };
    for (int k : seen) {
      const Line& K = lines[static_cast<size_t>(k)];
      if (!IsAxiomRule(K.rule)) continue;
      forall(*K.f, "");
      steps.push_back({Step::kAssume, -1, K.f, label(k)});
    }
    for (int k : seen) {
      const Line& K = lines[static_cast<size_t>(k)];
      if (IsAxiomRule(K.rule) || !K.f) continue;
      if (K.rule == kRuleESpec) {
        int w = -1;
        for (const std::string& v : K.f->freeVars)
          if (v == K.witness && !bound.count(slots_.at(v))) w = slots_.at(v);
        forall(*K.f, w >= 0 ? K.witness : "");
        if (w >= 0) {
          bound.insert(w);
          steps.push_back({Step::kExists, w, nullptr, ""});
        }
        steps.push_back({Step::kClaim, -1, K.f, label(k)});
      } else {
        forall(*K.f, "");
        if (K.rule == kRulePremise) steps.push_back({Step::kAssume, -1, K.f, label(k)});
        else if (k == l) steps.push_back({Step::kClaim, -1, K.f, label(k)});
      }
    }
    std::string v = Decide(steps);
    if (!v.empty()) faults.push_back({l, "in order", v});
  }
  return faults;
}

std::string DescribeProof(const DocState& d) {
  std::ostringstream o;
  o << "ProofText:\n" << d.ProofText << "\n--- statements (InsertMode " << d.InsertMode
    << ", InsertLine " << d.InsertLine << ")\n";
  for (int k = 1; k <= d.StmtCount; ++k) {
    const StmtRec& s = d.Stmts[static_cast<size_t>(k)];
    std::string f;
    try {
      f = StmtFormula(d, k);
    } catch (const std::exception&) {
      f = "<outside the text>";
    }
    o << k << ": " << f << "    [" << RuleNames[static_cast<size_t>(std::max<int>(0, s.Rule))]
      << " " << s.Arg1 << "," << s.Arg2 << "]";
    if (!s.NewVar.empty()) o << " new '" << s.NewVar << "'";
    o << " free'" << s.FreeVars << "' scoped'" << s.ScopedVars << "'\n";
  }
  return o.str();
}

}  // namespace qv::sem
