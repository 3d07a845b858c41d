#include "semantic_model.h"

#include <cctype>
#include <functional>
#include <set>
#include <sstream>

#include "expr/expr.h"

namespace qv::sem {

namespace {

uint64_t Mix(uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

uint64_t KeyHash(const std::string& key) {
  uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : key) h = (h ^ c) * 1099511628211ULL;
  return Mix(h);
}

uint64_t Cell(uint64_t seed, uint64_t key, const int* args, int n) {
  uint64_t h = Mix(seed ^ key);
  for (int i = 0; i < n; ++i) h = Mix(h ^ static_cast<uint64_t>(args[i] + 1) * 0x100000001b3ULL);
  return h;
}

struct Compiler {
  const std::vector<NodeRec>& in;
  std::map<std::string, int>& slots;
  Formula& out;
  std::string err;
  std::set<std::string> bound;
  std::set<std::string> seenFree;

  int SlotOf(const std::string& name) {
    auto it = slots.find(name);
    if (it != slots.end()) return it->second;
    const int s = static_cast<int>(slots.size());
    slots[name] = s;
    return s;
  }
  int Add(Expr e) {
    out.nodes.push_back(std::move(e));
    return static_cast<int>(out.nodes.size()) - 1;
  }
  const NodeRec& At(int i) {
    if (i < 1 || i >= static_cast<int>(in.size())) throw std::runtime_error("node index");
    return in[static_cast<size_t>(i)];
  }
  // The operands of a left-nested n-tuple chain, in order.
  void Flatten(int i, std::vector<int>& args) {
    const NodeRec& n = At(i);
    if (n.Rule == kNtuple) {
      Flatten(n.Ptr1, args);
      args.push_back(Build(n.Ptr2));
    } else {
      args.push_back(Build(i));
    }
  }
  // A function (kFun, "F:" key) or relation (kRel, "R:" key) applied to args.
  int Symbol(Expr::Op op, const std::string& key, std::vector<int> args) {
    Expr e;
    e.op = op;
    e.name = (op == Expr::kFun ? "F:" : "R:") + key + "/" + std::to_string(args.size());
    e.key = KeyHash(e.name);
    e.args = std::move(args);
    return Add(std::move(e));
  }
  int Fun(const std::string& key, std::vector<int> args) { return Symbol(Expr::kFun, key, std::move(args)); }
  int Rel(const std::string& key, std::vector<int> args) { return Symbol(Expr::kRel, key, std::move(args)); }
  int Bin(Expr::Op op, const NodeRec& n) {
    Expr e;
    e.op = op;
    e.args = {Build(n.Ptr1), Build(n.Ptr2)};
    return Add(std::move(e));
  }

  int Build(int i) {
    const NodeRec& n = At(i);
    switch (n.Rule) {
      case kAtom: {
        const std::string& name = n.Name;
        if (name.empty()) throw std::runtime_error("empty atom");
        // Numerals are names like any other: the program lets them stand for
        // free variables, witnesses included, and assumes nothing of them.
        if (!std::islower(static_cast<unsigned char>(name[0])) &&
            !std::isdigit(static_cast<unsigned char>(name[0])))
          return Fun("c" + name, {});
        Expr e;
        e.op = Expr::kVar;
        e.name = name;
        e.var = SlotOf(name);
        if (!bound.count(name) && seenFree.insert(name).second) out.freeVars.push_back(name);
        return Add(std::move(e));
      }
      case kExpo: return Fun("^", {Build(n.Ptr1), Build(n.Ptr2)});
      case kMult: return Fun("*", {Build(n.Ptr1), Build(n.Ptr2)});
      case kDiv: return Fun("/", {Build(n.Ptr1), Build(n.Ptr2)});
      case kAdd: return Fun("+", {Build(n.Ptr1), Build(n.Ptr2)});
      case kSubt: return Fun("-", {Build(n.Ptr1), Build(n.Ptr2)});
      case kANeg: return Fun("_", {Build(n.Ptr1)});
      case kNtuple: {
        std::vector<int> args;
        Flatten(i, args);
        return Fun("tuple", std::move(args));
      }
      case kFunc: {
        // A function is an object like any other: f(x) applies the value of
        // the name f to x, so E Gen may generalise f itself.
        std::vector<int> args{Build(n.Ptr1)};
        Flatten(n.Ptr2, args);
        return Fun("apply", std::move(args));
      }
      case kEQ: return Bin(Expr::kEq, n);
      case kLT: return Rel("<", {Build(n.Ptr1), Build(n.Ptr2)});
      case kLE: return Rel("<=", {Build(n.Ptr1), Build(n.Ptr2)});
      case kGT: return Rel(">", {Build(n.Ptr1), Build(n.Ptr2)});
      case kGE: return Rel(">=", {Build(n.Ptr1), Build(n.Ptr2)});
      case kElt: return Rel("@", {Build(n.Ptr1), Build(n.Ptr2)});
      case kLNeg: {
        Expr e;
        e.op = Expr::kNot;
        e.args = {Build(n.Ptr1)};
        return Add(std::move(e));
      }
      case kLAnd: return Bin(Expr::kAnd, n);
      case kLOr: return Bin(Expr::kOr, n);
      case kImply: return Bin(Expr::kImply, n);
      case kIff: return Bin(Expr::kIff, n);
      case kALL:
      case kEXIST: {
        const std::string v = At(n.Ptr1).Name;
        const bool had = bound.count(v) != 0;
        bound.insert(v);
        Expr e;
        e.op = n.Rule == kALL ? Expr::kAll : Expr::kExist;
        e.name = v;
        e.var = SlotOf(v);
        e.args = {Build(n.Ptr2)};
        if (!had) bound.erase(v);
        return Add(std::move(e));
      }
      case kProp: return Rel("p" + n.Name, {});
      case kPred: {
        std::vector<int> args;
        Flatten(n.Ptr2, args);
        return Rel("p" + At(n.Ptr1).Name, std::move(args));
      }
      default:
        throw std::runtime_error("node kind " + std::to_string(n.Rule) + " is not interpreted");
    }
  }
};

}  // namespace

std::shared_ptr<Formula> Compile(const std::string& Text, std::map<std::string, int>& Slots,
                                 std::string& Err) {
  ParseResult r = ParseText(Text);
  if (!r.Err.empty()) {
    Err = "does not parse: " + r.Err;
    return nullptr;
  }
  auto f = std::make_shared<Formula>();
  f->text = Text;
  Compiler c{r.Nodes, Slots, *f, {}, {}, {}};
  try {
    c.Build(static_cast<int>(r.Nodes.size()) - 1);
  } catch (const std::exception& e) {
    Err = e.what();
    return nullptr;
  }
  return f;
}

bool Model::Holds(uint64_t key, const int* args, int n) const {
  if (n == 0)
    for (const auto& [k, v] : letters)
      if (k == key) return v;
  // Each relation gets a density of its own (never, a quarter, a half, three
  // quarters, always), so empty and full relations come up often.
  const int density = static_cast<int>(Mix(seed ^ key ^ 0xd1b54a32d192ed03ULL) % 5);
  return static_cast<int>(Cell(seed, key, args, n) % 4) < density;
}

int Model::Apply(uint64_t key, const int* args, int n) const {
  // A quarter of the functions are constant.
  if (n > 0 && Mix(seed ^ key ^ 0x8cb92ba72f3d8dd7ULL) % 4 == 0)
    return static_cast<int>(Mix(seed ^ key) % static_cast<uint64_t>(size));
  return static_cast<int>(Cell(seed, key, args, n) % static_cast<uint64_t>(size));
}

std::string Model::Describe(const std::vector<std::string>& symbols) const {
  std::ostringstream o;
  o << "domain {";
  for (int i = 0; i < size; ++i) o << (i ? "," : "") << i;
  o << "}";
  for (const std::string& s : symbols) {
    const size_t slash = s.rfind('/');
    const int arity = std::stoi(s.substr(slash + 1));
    const bool rel = s[0] == 'R';
    std::string name = s.substr(3, slash - 3);  // "R:p" / "F:f" / "F:c" prefixes
    if (s.compare(2, 1, "p") != 0 && s.compare(2, 1, "f") != 0 && s.compare(2, 1, "c") != 0)
      name = s.substr(2, slash - 2);
    const uint64_t key = KeyHash(s);
    int cells = 1;
    for (int i = 0; i < arity; ++i) cells *= size;
    o << "\n  " << name << (rel ? (arity == 0 ? " = " : " = {") : ": ");
    bool first = true;
    for (int c = 0; c < cells; ++c) {
      int args[8] = {0};
      int rest = c;
      for (int i = arity - 1; i >= 0; --i) {
        args[i] = rest % size;
        rest /= size;
      }
      std::string tuple;
      for (int i = 0; i < arity; ++i) tuple += (i ? "," : "") + std::to_string(args[i]);
      if (arity > 1) tuple = "(" + tuple + ")";
      if (rel) {
        if (arity == 0) {
          o << (Holds(key, args, 0) ? "true" : "false");
        } else if (Holds(key, args, arity)) {
          o << (first ? "" : ",") << tuple;
          first = false;
        }
      } else {
        o << (first ? "" : " ") << (arity ? tuple + "->" : "") << Apply(key, args, arity);
        first = false;
      }
    }
    if (rel) o << (arity == 0 ? "" : "}");
  }
  return o.str();
}

int Evaluator::Term(const Formula& F, int node, const Model& M) {
  const Expr& e = F.nodes[static_cast<size_t>(node)];
  if (e.op == Expr::kVar) return env_[static_cast<size_t>(e.var)];
  int args[8];
  const int n = static_cast<int>(e.args.size());
  if (n > 8) throw std::runtime_error("too many arguments");
  for (int i = 0; i < n; ++i) args[i] = Term(F, e.args[static_cast<size_t>(i)], M);
  return M.Apply(e.key, args, n);
}

bool Evaluator::Eval(const Formula& F, int node, const Model& M) {
  const Expr& e = F.nodes[static_cast<size_t>(node)];
  switch (e.op) {
    case Expr::kEq: return Term(F, e.args[0], M) == Term(F, e.args[1], M);
    case Expr::kRel: {
      int args[8];
      const int n = static_cast<int>(e.args.size());
      if (n > 8) throw std::runtime_error("too many arguments");
      for (int i = 0; i < n; ++i) args[i] = Term(F, e.args[static_cast<size_t>(i)], M);
      return M.Holds(e.key, args, n);
    }
    case Expr::kNot: return !Eval(F, e.args[0], M);
    case Expr::kAnd: return Eval(F, e.args[0], M) && Eval(F, e.args[1], M);
    case Expr::kOr: return Eval(F, e.args[0], M) || Eval(F, e.args[1], M);
    case Expr::kImply: return !Eval(F, e.args[0], M) || Eval(F, e.args[1], M);
    case Expr::kIff: return Eval(F, e.args[0], M) == Eval(F, e.args[1], M);
    case Expr::kAll:
    case Expr::kExist: {
      const int saved = env_[static_cast<size_t>(e.var)];
      const bool all = e.op == Expr::kAll;
      bool result = all;
      for (int v = 0; v < M.size; ++v) {
        env_[static_cast<size_t>(e.var)] = v;
        if (Eval(F, e.args[0], M) != all) {
          result = !all;
          break;
        }
      }
      env_[static_cast<size_t>(e.var)] = saved;
      return result;
    }
    default: throw std::runtime_error("a term where a formula belongs");
  }
}

bool Evaluator::Run(const std::vector<Step>& Steps, size_t i, const Model& M) {
  if (i == Steps.size()) return true;
  const Step& s = Steps[i];
  switch (s.kind) {
    case Step::kForAll: {
      const int from = draw ? static_cast<int>(Mix(draw ^ static_cast<uint64_t>(s.var) * 0x2545f4914f6cdd1dULL) %
                                               static_cast<uint64_t>(M.size))
                            : 0;
      const int to = draw ? from + 1 : M.size;
      for (int v = from; v < to; ++v) {
        env_[static_cast<size_t>(s.var)] = v;
        path_.emplace_back(s.var, v);
        const bool ok = Run(Steps, i + 1, M);
        if (!ok && !failedSet_) {
          failedPath_ = path_;
          failedSet_ = true;
        }
        path_.pop_back();
        if (!ok) return false;
      }
      return true;
    }
    case Step::kExists: {
      const bool before = failedSet_;
      for (int v = 0; v < M.size; ++v) {
        env_[static_cast<size_t>(s.var)] = v;
        if (Run(Steps, i + 1, M)) {
          failedSet_ = before;
          return true;
        }
      }
      return false;
    }
    case Step::kAssume:
      if (!Eval(*s.formula, static_cast<int>(s.formula->nodes.size()) - 1, M)) return true;
      return Run(Steps, i + 1, M);
    case Step::kClaim:
      if (!Eval(*s.formula, static_cast<int>(s.formula->nodes.size()) - 1, M)) {
        if (!failedSet_) {
          failedPath_ = path_;
          failedSet_ = true;
        }
        return false;
      }
      return Run(Steps, i + 1, M);
  }
  return true;
}

bool Evaluator::Sentence(const std::vector<Step>& Steps, const Model& M,
                         const std::vector<std::string>& slotNames, std::string* Witness) {
  path_.clear();
  failedPath_.clear();
  failedSet_ = false;
  const bool ok = Run(Steps, 0, M);
  if (!ok && Witness) {
    Witness->clear();
    for (const auto& [slot, value] : failedPath_)
      *Witness += (Witness->empty() ? "" : " ") + slotNames[static_cast<size_t>(slot)] + "=" +
                  std::to_string(value);
  }
  return ok;
}

void SymbolsOf(const Formula& F, std::vector<std::string>& Out) {
  for (const Expr& e : F.nodes) {
    if (e.op != Expr::kFun && e.op != Expr::kRel) continue;
    bool have = false;
    for (const std::string& s : Out) have = have || s == e.name;
    if (!have) Out.push_back(e.name);
  }
}

}  // namespace qv::sem
