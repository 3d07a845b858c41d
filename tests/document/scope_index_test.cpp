// The remembered scope test gives the answers of the walk made afresh for
// every question, on random proofs: nested, closed, reopened and damaged
// subproofs, lines marked for deletion, and marks added line by line the
// way the marking of dependants adds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "document/document.h"

namespace qv {
namespace {

// Short names, names at and past the longest the index packs into a word,
// and enough of them to make its table grow; the last two are never free.
const std::vector<std::string> kNames = [] {
  std::vector<std::string> names = {"a", "b", "c", "d", "abcdefg", "abcdefgh", "abcdefghij"};
  for (int k = 0; k < 40; ++k) names.push_back("v" + std::to_string(k));
  names.push_back("zz");
  names.push_back("abcdefgz");
  return names;
}();

void RandomProof(DocState& d, std::mt19937& rng, int n) {
  auto pick = [&](int below) { return static_cast<int>(rng() % static_cast<unsigned>(below)); };
  d.Stmts.assign(1, StmtRec{});
  std::vector<int> open;
  for (int k = 1; k <= n; ++k) {
    StmtRec s;
    const int r = pick(10);
    if (r < 3) {
      s.Rule = kRulePremise;
      open.push_back(k);
    } else if (r < 5 && !open.empty()) {
      s.Rule = kRuleConclusion;
      s.Arg1 = static_cast<int16_t>(open.back());
      d.Stmts[open.back()].Arg1 = static_cast<int16_t>(k);
      open.pop_back();
    } else {
      s.Rule = static_cast<int16_t>(pick(2) ? kRuleSplit : kRuleESpec);
    }
    s.FreeVars = " ";
    for (int v = 0; v < 7; ++v)
      if (pick(4) == 0) s.FreeVars += kNames[v] + " ";
    if (pick(2)) s.FreeVars += kNames[7 + pick(40)] + " ";
    if (s.FreeVars == " " && pick(2)) s.FreeVars.clear();
    d.Stmts.push_back(s);
  }
  d.StmtCount = n;
  for (int k = 1; k <= n; ++k) {
    StmtRec& s = d.Stmts[k];
    // Reopened subproofs (the Premise's link cleared, as a deleted
    // Conclusion leaves it) and links that lead anywhere.
    if (s.Rule == kRulePremise && s.Arg1 > 0 && pick(6) == 0) s.Arg1 = 0;
    if (pick(25) == 0) s.Arg1 = static_cast<int16_t>(pick(n + 3));
  }
}

// Every question the index answers, asked of it and of the walk made afresh.
void ExpectSameAnswers(AppState& S, ScopeIndex& index, int Line, const std::string& where) {
  const DocState& d = S.Doc;
  ASSERT_EQ(index.InnermostPremise(Line), InnermostPremise(d, Line, Marks::Gone)) << where << " line " << Line;
  for (const std::string& v : kNames) {
    bool plain = false, flag = false;
    FreeVarColourFont(S, v, Line, plain, flag);
    bool above = false;
    for (int i = ActiveUpFrom(d, Line - 1, Marks::Gone); i >= 1 && !above; i = ActiveAbove(d, i, Marks::Gone))
      above = InList(d.Stmts[i].FreeVars, v);
    // Asked by id first, as the deletion asks, before any walk met the name.
    const int id = index.Id(v);
    ASSERT_EQ(index.FreeAbove(Line, id), above) << where << " line " << Line << " id of " << v;
    ASSERT_EQ(index.InScope(id, Line), plain) << where << " line " << Line << " id of " << v;
    ASSERT_EQ(index.InScope(v, Line), plain) << where << " line " << Line << " name " << v;
    ASSERT_EQ(index.FreeAbove(Line, v), above) << where << " line " << Line << " name " << v;
  }
}

// Runs Check on 400 random proofs of at least Least lines, fixed seeds.
template <class Body>
void OnRandomProofs(int Least, Body Check) {
  for (unsigned seed = 1; seed <= 400; ++seed) {
    std::mt19937 rng(seed);
    AppState S;
    const int n = Least + static_cast<int>(rng() % 40);
    RandomProof(S.Doc, rng, n);
    Check(S, rng, n, "seed " + std::to_string(seed));
  }
}

TEST(ScopeIndex, AnswersAsTheWalkMadeAfreshOnRandomMarkedProofs) {
  OnRandomProofs(1, [](AppState& S, std::mt19937& rng, int n, const std::string& where) {
    for (int k = 1; k <= n; ++k) S.Doc.Stmts[k].DeleteFlag = rng() % 5 == 0;
    // Asked in any order, lines outside the table included.
    std::vector<int> lines;
    for (int k = 0; k <= n + 1; ++k) lines.push_back(k);
    std::shuffle(lines.begin(), lines.end(), rng);
    ScopeIndex index(S.Doc);
    for (int line : lines) ExpectSameAnswers(S, index, line, where);
  });
}

TEST(ScopeIndex, StaysRightWhileEachLineIsMarkedAfterItWasAskedAbout) {
  OnRandomProofs(2, [](AppState& S, std::mt19937& rng, int n, const std::string& where) {
    const int first = 1 + static_cast<int>(rng() % static_cast<unsigned>(n));
    S.Doc.Stmts[first].DeleteFlag = true;
    ScopeIndex index(S.Doc);
    for (int j = first + 1; j <= n; ++j) {
      ExpectSameAnswers(S, index, j, where);
      S.Doc.Stmts[j].DeleteFlag = rng() % 3 == 0;
    }
  });
}

}  // namespace
}  // namespace qv
