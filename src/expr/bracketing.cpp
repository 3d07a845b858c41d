// The bracketing passes. Precedence and associativity come only from the order
// of the passes and the direction each one scans: every operator application
// gets its own pair of inserted brackets (Position 0), so that the node
// builders can read the tree off the bracket structure. The passes run on a
// TokenChain, so each insertion costs the same wherever it stands and a pass
// is linear in the length of the statement.
#include <unordered_map>

#include "expr/passes.h"

namespace qv {

namespace {

// "<epsilon>" stands for the element-of sign in the messages about operands.
std::string OpForRhsMessage(const std::string& op) { return op == "@" ? "<epsilon>" : op; }

// The node of each name that BracketAtoms has met so far: the nodes it
// appends, from the first one on. A statement names few things: while it
// has at most kFewNames of them, a scan of their nodes finds a name for
// less than hashing it and the map's allocations would cost; past that the
// map keeps a long statement linear.
class NameNodes {
 public:
  explicit NameNodes(const std::vector<NodeRec>& Nodes)
      : nodes_(Nodes), first_(LastIndex(Nodes) + 1), mapped_(first_) {}

  // The node named Name, 0 when there is none yet.
  int Find(const std::string& Name) {
    const int last = LastIndex(nodes_);
    if (last - first_ < kFewNames) {
      for (int k = first_; k <= last; ++k)
        if (SameText(nodes_[static_cast<size_t>(k)].Name, Name)) return k;
      return 0;
    }
    // The map takes in the nodes appended since it last looked.
    for (; mapped_ <= last; ++mapped_) map_.emplace(nodes_[static_cast<size_t>(mapped_)].Name, mapped_);
    auto it = map_.find(Name);
    return it == map_.end() ? 0 : it->second;
  }

 private:
  static constexpr int kFewNames = 8;
  const std::vector<NodeRec>& nodes_;
  const int first_;
  int mapped_;
  std::unordered_map<std::string, int> map_;
};

}  // namespace

TokenChain::TokenChain(std::vector<TokenRec> Toks) {
  if (Toks.empty()) Toks.emplace_back();
  const size_t n = Toks.size();
  size_ = static_cast<int>(n) - 1;
  // Room for the brackets a typical statement gets, about two per token.
  const size_t room = 3 * n;
  prev_.reserve(room);
  next_.reserve(room);
  partner_.reserve(room);
  for (size_t i = 0; i < n; ++i) {
    const int t = Toks[i].TPtr;
    partner_.push_back(i > 0 && t >= 1 && t <= size_ ? t : 0);
    prev_.push_back(i == 0 ? size_ : static_cast<int>(i) - 1);
    next_.push_back(i + 1 < n ? static_cast<int>(i) + 1 : 0);
  }
  recs_ = std::move(Toks);
  recs_.reserve(room);
}

int TokenChain::Ahead(int id, int k) const {
  for (; k > 0 && id != 0; --k) id = Next(id);
  return id;
}

int TokenChain::Append(char Bracket, int Partner) {
  recs_.emplace_back().Token.assign(1, Bracket);
  partner_.push_back(Partner);
  prev_.push_back(0);
  next_.push_back(0);
  return static_cast<int>(recs_.size()) - 1;
}

std::pair<int, int> TokenChain::Wrap(int a, int F) {
  const int ids = static_cast<int>(recs_.size());
  if (a < 1 || a >= ids || F < 1 || F >= ids) throw ParseFault();
  if (size_ + 2 > kMaxTableIndex) throw ParseFault();
  const int open = Append('(', ids + 1);
  const int close = Append(')', open);
  auto link = [this](int left, int right) {
    next_[static_cast<size_t>(left)] = right;
    prev_[static_cast<size_t>(right)] = left;
  };
  link(close, next_[static_cast<size_t>(F)]);
  link(F, close);
  link(prev_[static_cast<size_t>(a)], open);
  link(open, a);
  size_ += 2;
  return {open, close};
}

void TokenChain::WriteTo(std::vector<TokenRec>& Toks) && {
  // The index each id gets in the table, kept where its prev_ link was: the
  // chain is used up here and the forward links alone give the order. Id 0,
  // no partner, keeps index 0.
  std::vector<int>& index = prev_;
  index[0] = 0;
  int k = 0;
  for (int id = First(); id != 0; id = next_[static_cast<size_t>(id)])
    index[static_cast<size_t>(id)] = ++k;
  Toks.clear();
  Toks.reserve(static_cast<size_t>(size_) + 1);
  Toks.push_back(std::move(recs_[0]));
  for (int id = First(); id != 0; id = next_[static_cast<size_t>(id)]) {
    TokenRec& t = recs_[static_cast<size_t>(id)];
    t.TPtr = static_cast<int16_t>(index[static_cast<size_t>(partner_[static_cast<size_t>(id)])]);
    Toks.push_back(std::move(t));
  }
}

void BracketAtoms(TokenChain& Toks, std::vector<NodeRec>& NodeList) {
  NameNodes known(NodeList);
  int i = Toks.First();
  while (i != 0) {
    const std::string& tok = Toks.At(i).Token;
    int16_t kind = 0;
    if (!tok.empty() && IsLowerOrDigit(tok[0])) kind = kAtom;
    else if (!tok.empty() && IsUpper(tok[0]) && !IsQuantifier(tok)) kind = kProp;
    if (kind == 0) {
      i = Toks.Next(i);
      continue;
    }
    int k = known.Find(tok);
    const bool isNew = k == 0;
    if (isNew) k = LastIndex(NodeList) + 1;
    if (k > kMaxTableIndex) throw ParseFault();
    std::string name = isNew ? tok : std::string();  // tok dies with the wrap
    const auto [open, close] = Toks.Wrap(i, i);
    Toks.At(open).DPtr = static_cast<int16_t>(k);
    Toks.At(close).DPtr = static_cast<int16_t>(k);
    if (isNew) {
      NodeRec n;
      n.Rule = kind;
      n.Name = std::move(name);
      NodeList.push_back(std::move(n));
    }
    i = Toks.Next(close);
  }
}

void BracketApplications(TokenChain& Toks) {
  // Whether or not token i starts an application, the scan goes on with the
  // token that followed it: a wrap only adds brackets around i's neighbours.
  for (int i = Toks.First(); i != 0; i = Toks.Next(i)) {
    const std::string& tok = Toks.At(i).Token;
    const bool isName = !tok.empty() && !IsQuantifier(tok) && (IsLowerOrDigit(tok[0]) || IsUpper(tok[0]));
    // The name's group closes after it, and at least one token follows the
    // typed "(" two places on.
    if (!isName || Toks.Ahead(i, 3) == 0) continue;
    const int argId = Toks.Ahead(i, 2);
    const TokenRec& arg = Toks.At(argId);
    if (SameText(arg.Token, "(") && arg.Position > 0) Toks.Wrap(Toks.Prev(i), Toks.Partner(argId));
  }
}

void BracketBinaryOps(TokenChain& Toks, std::string_view Op1, int Op1Kind, std::string_view Op2,
                      int Op2Kind, bool LeftToRight, std::string& Err, int16_t& ErrPos) {
  int b = LeftToRight ? Toks.First() : Toks.Last();
  while (b != 0) {
    const TokenRec& opRec = Toks.At(b);
    int kind = kOpUnused;
    if (SameText(opRec.Token, Op1)) kind = Op1Kind;
    else if (!Op2.empty() && SameText(opRec.Token, Op2)) kind = Op2Kind;
    if (kind == kOpUnused) {
      b = LeftToRight ? Toks.Next(b) : Toks.Prev(b);
      continue;
    }
    const std::string& op = opRec.Token;
    const int16_t pos = opRec.Position;
    int a = b;
    if (kind == kOpInfix) {
      const int l = Toks.Prev(b);
      if (l == 0) {
        Err = "29. No expression on LHS of " + op;
        ErrPos = pos;
        return;
      }
      if (!IsCloseBracket(Toks.At(l).Token)) {
        Err = "28. Invalid expression on LHS of " + op;
        ErrPos = pos;
        return;
      }
      a = Toks.Partner(l);
    }
    const int r = Toks.Next(b);
    if (r == 0) {
      Err = "31. No expression on RHS of " + OpForRhsMessage(op);
      ErrPos = pos;
      return;
    }
    if (!IsOpenBracket(Toks.At(r).Token)) {
      Err = "30. Invalid expression on RHS of " + OpForRhsMessage(op);
      ErrPos = pos;
      return;
    }
    Toks.Wrap(a, Toks.Partner(r));
    // Left to right: on with the right operand. Right to left: on with the
    // token now before the operator (the new "(" of a prefix operator, else
    // the left operand's closing bracket).
    b = LeftToRight ? r : Toks.Prev(b);
  }
}

void BracketPrefixOps(std::string_view Quant1, std::string_view Quant2, std::string_view NotOp,
                      TokenChain& Toks, std::string& Err, int16_t& ErrPos) {
  // A wrap puts its "(" between index and the token before it, so the scan
  // goes on with the token that stood before index.
  for (int index = Toks.Last(), before = 0; index != 0; index = before) {
    before = Toks.Prev(index);
    const TokenRec& t = Toks.At(index);
    const int16_t pos = t.Position;
    if (SameText(t.Token, Quant1) || SameText(t.Token, Quant2)) {
      static const char* kBadRhs = "15. Invalid expression on RHS of quantifier";
      const int varId = Toks.Next(index);
      if (varId == 0) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      // The variable must stand in its own typed brackets: ALL(x):body.
      // Anything else would send the fixed offsets of the quantifier layout
      // into the wrong tokens.
      const TokenRec& varOpen = Toks.At(varId);
      if (IsCloseBracket(varOpen.Token)) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      if (!IsOpenBracket(varOpen.Token) || varOpen.Position == 0) {
        Err = "5. Expecting variable";
        ErrPos = pos;
        return;
      }
      const int v = Toks.Partner(varId);
      const int bodyId = Toks.Ahead(v, 2);
      if (bodyId == 0) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      // The body is the group after the ":" that follows the variable group.
      // Another token in the place of the ":" (such as "`" or "&&", which no
      // pass handles) would otherwise be read as if it were the ":".
      if (!SameText(Toks.At(Toks.Next(v)).Token, ":") || !IsOpenBracket(Toks.At(bodyId).Token)) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      Toks.Wrap(index, Toks.Partner(bodyId));
    } else if (SameText(t.Token, NotOp)) {
      if (Toks.Ahead(index, 2) == 0) {
        Err = "15. Expecting logical expression on RHS of ~";
        ErrPos = pos;
        return;
      }
      const int operand = Toks.Next(index);
      if (!IsOpenBracket(Toks.At(operand).Token)) {
        Err = "14. Expecting logical expression on RHS of ~";
        ErrPos = pos;
        return;
      }
      Toks.Wrap(index, Toks.Partner(operand));
    }
  }
}

}  // namespace qv
