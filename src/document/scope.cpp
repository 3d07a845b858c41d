// The free-variable scope test: is a variable already free in a line above
// the innermost open premise?
#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>

#include "document/document.h"
#include "document/internal.h"

namespace qv {

namespace {

// The scope test, over a walk that gives the innermost open premise at or
// above a line and whether a name is free on the walk up from just above a
// line. The proof is seen without its lines marked for deletion. Above the
// premise, closed subproofs are passed over, their Conclusion lines count,
// and the premises of enclosing subproofs are in sight even when those
// subproofs have been closed since.
template <class Walk, class Name>
bool ScopeTest(Walk& w, const Name& Var, int Line) {
  const int premise = w.InnermostPremise(Line);
  return premise == 0 || w.FreeAbove(premise, Var);
}

// The walk made afresh for one question.
struct PlainWalk {
  const DocState& d;
  int InnermostPremise(int Line) const { return qv::InnermostPremise(d, Line, Marks::Gone); }
  bool FreeAbove(int Line, const std::string& Name) const {
    for (int i = ActiveUpFrom(d, Line - 1, Marks::Gone); i >= 1; i = ActiveAbove(d, i, Marks::Gone))
      if (InList(d.Stmts[i].FreeVars, Name)) return true;
    return false;
  }
};

}  // namespace

void FreeVarColourFont(AppState& S, const std::string& Var, int Line, bool& InScope, bool& Flag) {
  PlainWalk w{S.Doc};
  InScope = ScopeTest(w, Var, Line);
  (void)Flag;  // left as the caller set it
}

// ---------------------------------------------------------------------------
// The same answers for many lines, each walk's findings remembered per line.

ScopeIndex::ScopeIndex(const DocState& d)
    : d_(d), premise_(d.Stmts.size(), -1), names_(d.Stmts.size(), -1), idSpan_(d.Stmts.size(), {0, -1}),
      nodes_(2) {
  nodes_[1].child.fill(1);
  // Deep enough for as many names as the lists hold now, counted by their
  // blanks (" a b " has one more than names) without looking any up: ids
  // are given as the walks meet the names, and a list filled in later that
  // brings more makes NamesFrom deepen the sets.
  size_t names = 0;
  for (const StmtRec& s : d.Stmts) names += static_cast<size_t>(std::count(s.FreeVars.begin(), s.FreeVars.end(), ' '));
  while ((size_t{1} << bits_) < names) bits_ += kBits;
}

int ScopeIndex::InnermostPremise(int Line) {
  // Line itself is not remembered: the caller may still mark it.
  const int y = ActiveUpFrom(d_, Line, Marks::Gone);
  if (y < 1) return 0;
  if (d_.Stmts[y].Rule == kRulePremise) return y;
  const int above = ActiveAbove(d_, y, Marks::Gone);
  return above < 1 ? 0 : PremiseFrom(above);
}

bool ScopeIndex::FreeAbove(int Line, const std::string& Name) {
  const int y = ActiveUpFrom(d_, Line - 1, Marks::Gone);
  if (y < 1) return false;
  const int32_t set = NamesFrom(y);  // first: it learns the names on the way, and the sets fit every id given
  const int id = ids_.Find(Name);
  return id >= 0 && Has(set, id);
}

bool ScopeIndex::InScope(const std::string& Var, int Line) { return ScopeTest(*this, Var, Line); }

int ScopeIndex::Id(std::string_view Name) { return IdOf(Name); }

// Both come from SetsAt, the sets the deletion's marking reads, so that a
// check of these answers against the plain walk checks those sets.
bool ScopeIndex::FreeAbove(int Line, int Id) { return Id >= 0 && Has(SetsAt(Line).above, Id); }

bool ScopeIndex::InScope(int Id, int Line) {
  const LineSets sets = SetsAt(Line);
  return sets.allInScope || (Id >= 0 && Has(sets.inScope, Id));
}

ScopeIndex::LineSets ScopeIndex::SetsAt(int Line) {
  // The walks of FreeAbove(Line, Name) and of ScopeTest, for any id; asked
  // again when the second walk deepened the sets the first one gave. The
  // names of Line itself get their ids first, so the sets fit them too.
  if (Line >= 1 && Line < static_cast<int>(idSpan_.size())) IdsOf(Line);
  for (;;) {
    const int deepened = deepened_;
    LineSets sets;
    const int y = ActiveUpFrom(d_, Line - 1, Marks::Gone);
    sets.above = y < 1 ? 0 : NamesFrom(y);
    const int premise = InnermostPremise(Line);
    sets.allInScope = premise == 0;
    if (premise != 0) {
      const int py = ActiveUpFrom(d_, premise - 1, Marks::Gone);
      sets.inScope = py < 1 ? 0 : NamesFrom(py);
    }
    if (deepened == deepened_) return sets;
  }
}

int ScopeIndex::PremiseFrom(int y) {
  // Up to the first line already worked out or a Premise, then back down.
  chain_.clear();
  int x = y;
  while (x >= 1 && premise_[x] < 0 && d_.Stmts[x].Rule != kRulePremise) {
    chain_.push_back(x);
    x = ActiveAbove(d_, x, Marks::Gone);
  }
  int32_t found = 0;
  if (x >= 1) found = premise_[x] >= 0 ? premise_[x] : (premise_[x] = x);
  for (int k : chain_) premise_[k] = found;
  return found;
}

int32_t ScopeIndex::NamesFrom(int y) {
  for (;;) {
    chain_.clear();
    int x = y;
    while (x >= 1 && names_[x] < 0) {
      chain_.push_back(x);
      x = ActiveAbove(d_, x, Marks::Gone);
    }
    // The ids of each line's names first: a list filled in after the index
    // was made may bring more names than the sets are deep enough for, and
    // then they are all made again, deeper.
    for (int k : chain_) IdsOf(k);
    if (ids_.size() > (size_t{1} << bits_)) {
      while ((size_t{1} << bits_) < ids_.size()) bits_ += kBits;
      nodes_.resize(2);
      std::fill(names_.begin(), names_.end(), -1);
      ++deepened_;
      continue;
    }
    int32_t set = x >= 1 ? names_[x] : 0;
    const std::string* before = x >= 1 ? &d_.Stmts[x].FreeVars : nullptr;  // already in the set
    for (auto it = chain_.rbegin(); it != chain_.rend(); ++it) {
      const std::string& free = d_.Stmts[*it].FreeVars;
      // Neighbouring lines often name the same variables.
      if (before == nullptr || free != *before)
        for (const int id : IdsOf(*it))
          if (!Has(set, id)) set = With(set, id);
      before = &free;
      names_[*it] = set;
    }
    return set;
  }
}

int ScopeIndex::IdOf(std::string_view Name) { return ids_.Add(Name); }

std::span<const int> ScopeIndex::IdsOf(int Line) {
  auto& [from, count] = idSpan_[static_cast<size_t>(Line)];
  // Neighbouring lines often name the same variables: the line above's ids
  // serve when its list is the same.
  if (count < 0 && Line > 1 && idSpan_[static_cast<size_t>(Line) - 1].second >= 0 &&
      d_.Stmts[static_cast<size_t>(Line) - 1].FreeVars == d_.Stmts[static_cast<size_t>(Line)].FreeVars)
    std::tie(from, count) = idSpan_[static_cast<size_t>(Line) - 1];
  if (count < 0) {
    from = static_cast<int32_t>(lineIds_.size());
    ForEachVarName(d_.Stmts[static_cast<size_t>(Line)].FreeVars,
                   [&](std::string_view Name) { lineIds_.push_back(IdOf(Name)); });
    count = static_cast<int32_t>(lineIds_.size()) - from;
  }
  return {lineIds_.data() + from, static_cast<size_t>(count)};
}

uint64_t ScopeIndex::NameIds::Pack(std::string_view Name) {
  if (Name.empty() || Name.size() > 7) return 0;
  uint64_t key = 0;
  std::memcpy(&key, Name.data(), Name.size());
  // The length in the top byte keeps names apart that differ only in NULs.
  return key | (static_cast<uint64_t>(Name.size()) << 56);
}

size_t ScopeIndex::NameIds::Slot(uint64_t Key) const {
  const size_t mask = keys_.size() - 1;
  size_t i = static_cast<size_t>((Key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
  while (keys_[i] != 0 && keys_[i] != Key) i = (i + 1) & mask;
  return i;
}

int ScopeIndex::NameIds::Find(std::string_view Name) const {
  if (const uint64_t key = Pack(Name)) return values_[Slot(key)];
  const auto it = long_.find(Name);
  return it == long_.end() ? -1 : it->second;
}

int ScopeIndex::NameIds::Add(std::string_view Name) {
  const uint64_t key = Pack(Name);
  if (key == 0) {
    const auto [it, added] = long_.try_emplace(std::string(Name), count_);
    if (added) ++count_;
    return it->second;
  }
  size_t i = Slot(key);
  if (keys_[i] == key) return values_[i];
  if (static_cast<size_t>(packed_ + 1) * 2 > keys_.size()) {
    // Half full: twice the slots, every name put again.
    std::vector<uint64_t> keys(keys_.size() * 2, 0);
    std::vector<int32_t> values(keys.size(), -1);
    keys.swap(keys_);
    values.swap(values_);
    for (size_t k = 0; k < keys.size(); ++k) {
      if (keys[k] == 0) continue;
      const size_t j = Slot(keys[k]);
      keys_[j] = keys[k];
      values_[j] = values[k];
    }
    i = Slot(key);
  }
  keys_[i] = key;
  values_[i] = count_;
  ++packed_;
  return count_++;
}

bool ScopeIndex::Has(int32_t Set, int Id) const {
  for (int b = bits_ - kBits; b >= 0 && Set != 0; b -= kBits) Set = nodes_[Set].child[(Id >> b) & (kFan - 1)];
  return Set != 0;
}

int32_t ScopeIndex::With(int32_t Set, int Id) {
  // The nodes on the way to Id's leaf are copied, everything beside them shared.
  std::array<int32_t, 32> way{};
  const int levels = bits_ / kBits;
  for (int level = 0; level < levels; ++level) {
    way[level] = Set;
    Set = nodes_[Set].child[(Id >> (bits_ - kBits * (level + 1))) & (kFan - 1)];
  }
  int32_t made = 1;
  for (int level = levels - 1; level >= 0; --level) {
    Node n = nodes_[way[level]];
    n.child[(Id >> (bits_ - kBits * (level + 1))) & (kFan - 1)] = made;
    nodes_.push_back(n);
    made = static_cast<int32_t>(nodes_.size()) - 1;
  }
  return made;
}

}  // namespace qv
