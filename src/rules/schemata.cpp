// The input box's branch for the axiom schemata of order n: it reads the
// order, builds the schema's text for that order and puts it.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "document/document.h"
#include "rules/frame.h"
#include "rules/inputbox.h"

namespace qv {
namespace {

const std::string NL = "\r\n";

std::string Num(int i) { return std::to_string(i); }

// "ALL(x1):ALL(x2):..." up to xn; Quant is "ALL(" or "EXIST(".
std::string Quants(const char* Quant, const std::string& x, int n) {
  std::string out;
  for (int i = 1; i <= n; ++i) out += Quant + x + Num(i) + "):";
  return out;
}
std::string Alls(const std::string& x, int n) { return Quants("ALL(", x, n); }
std::string Exists(const std::string& x, int n) { return Quants("EXIST(", x, n); }

// Head followed by ",x2" .. ",xn"; Head ends in the first component.
std::string Tuple(const std::string& Head, const std::string& x, int n) {
  std::string out = Head;
  for (int i = 2; i <= n; ++i) out += "," + x + Num(i);
  return out;
}

// A set of k+1-tuples is written Set followed by k apostrophes.
std::string Primes(int k) { return std::string(static_cast<size_t>(k), '\''); }

std::string CartProd(int n) {
  std::string t = Alls("a", n) + "[Set(a1)";
  for (int i = 2; i <= n; ++i) t += "& Set(a" + Num(i) + ")";
  t += "=>" + NL + "EXIST(b):[Set" + Primes(n - 1) + "(b)&" + Alls("c", n) + Tuple("[(c1", "c", n) +
       ")@b<=>c1@a1";
  for (int i = 2; i <= n; ++i) t += "&c" + Num(i) + "@a" + Num(i);
  return t + "]]]";
}

std::string PowerSet(int n) {
  std::string t = "ALL(a):[Set" + Primes(n - 1) + "(a)=>EXIST(b):[Set(b)" + NL +
                  "& ALL(c):[c@b<=> Set" + Primes(n - 1) + "(c)&";
  if (n == 1) return t + "ALL(d):[d@c=>d@a]]]]";
  const std::string d = Tuple("(d1", "d", n) + ")";
  return t + Alls("d", n) + "[" + d + "@c=>" + d + "@a]]]]";
}

std::string Function(int n) {
  const std::string A = Alls("a", n);
  const std::string tup = Tuple("(a1", "a", n);
  return "ALL(dom):ALL(cod):ALL(gra):[Set" + Primes(n - 1) + "(dom) & Set(cod) & Set" + Primes(n) +
         "(gra)" + NL + "&" + Exists("a", n) + tup + ")@dom & EXIST(a1):a1@cod" + NL + "=>[" + A +
         Tuple("ALL(b):[(a1", "a", n) + ",b) @ gra => " + tup + ")@dom & b@cod]" + NL + "& " + A +
         Tuple("[(a1", "a", n) + ")@dom => EXIST(b):[b @ cod & " + Tuple("(a1 ", "a", n) +
         ",b) @ gra]]" + NL + "&" + A + Tuple("ALL(b1):ALL(b2):[(a1", "a", n) +
         ")@dom & b1@cod & b2@cod" + NL + Tuple("=>[(a1", "a", n) + ",b1)@gra & " + tup +
         ",b2)@gra => b1=b2]]" + NL + "=> EXIST(fun):" + A + Tuple("ALL(b): [(a1", "a", n) +
         ")@dom & b@cod" + NL + Tuple("=> [fun(a1", "a", n) + ")=b <=> " + tup + ",b)@gra]]]]";
}

std::string FnSpace(int n) {
  return "ALL(dom):ALL(cod):[Set" + Primes(n - 1) + "(dom) & Set(cod)" + NL + "&" + Exists("a", n) +
         Tuple("(a1", "a", n) + ")@ dom & EXIST(a1): a1@cod" + NL +
         "=> EXIST(fsp):[Set(fsp) & ALL(f):[f@fsp <=>" + Alls("a", n) + Tuple("[(a1", "a", n) +
         ")@dom => " + Tuple("f(a1", "a", n) + ")@cod]]]]";
}

std::string SetEquality(int n) {
  if (n == 1) return "ALL(a):ALL(b):[Set(a)&Set(b)=>[a=b<=>ALL(c):[c@a<=>c@b]]]";
  return "ALL(a):ALL(b):[Set" + Primes(n - 1) + "(a)&Set" + Primes(n - 1) + "(b)=>[a=b" + NL +
         "<=>" + Alls("c", n) + Tuple("[(c1", "c", n) + ")@a<=>" + Tuple("(c1", "c", n) + ")@b]]]";
}

std::string NtupleEquality(int n) {
  std::string t = Alls("a", n) + Alls("b", n) + Tuple("[(a1", "a", n) + Tuple(")=(b1", "b", n) + ")" +
                  NL + "<=>a1=b1";
  for (int i = 2; i <= n; ++i) t += "&a" + Num(i) + "=b" + Num(i);
  return t + "]";
}

std::string FnEquality(int n) {
  if (n == 1) {
    return "ALL(dom):ALL(cod):ALL(f1):ALL(f2):[Set(dom) & Set(cod)" + NL +
           "& EXIST(a): a@ dom & EXIST(a): a@ cod" + NL + "& ALL(a):[a @ dom => f1(a) @ cod]" + NL +
           "& ALL(a):[a @ dom => f2(a) @ cod]" + NL +
           "=>[f1=f2 <=> ALL(a):[a @ dom => f1(a)=f2(a)]]]";
  }
  const std::string A = Alls("a", n);
  const std::string dom = Tuple("[(a1", "a", n) + ")@dom => ";
  return "ALL(dom):ALL(cod):ALL(f1):ALL(f2):[Set" + Primes(n - 1) + "(dom) & Set(cod)" + NL + "&" +
         Exists("a", n) + Tuple("(a1", "a", n) + ")@ dom & EXIST(a1):a1 @ cod" + NL + "&" + A + dom +
         Tuple("f1(a1", "a", n) + ")@cod]" + NL + "& " + A + dom + Tuple("f2(a1", "a", n) +
         ")@cod]" + NL + "=> " + "[f1=f2 <=>" + A + dom + Tuple("f1(a1", "a", n) + ")=" +
         Tuple("f2(a1", "a", n) + ")]]]";
}

}  // namespace

double LeadingNumber(const std::string& Text) {
  size_t i = 0;
  while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t')) ++i;
  const size_t start = i;
  if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) ++i;
  bool digits = false;
  while (i < Text.size() && std::isdigit(static_cast<unsigned char>(Text[i]))) ++i, digits = true;
  if (i < Text.size() && Text[i] == '.') {
    ++i;
    while (i < Text.size() && std::isdigit(static_cast<unsigned char>(Text[i]))) ++i, digits = true;
  }
  if (!digits) return 0;
  // An exponent counts only when digits follow it.
  if (i < Text.size() && (Text[i] == 'e' || Text[i] == 'E')) {
    size_t j = i + 1;
    if (j < Text.size() && (Text[j] == '+' || Text[j] == '-')) ++j;
    if (j < Text.size() && std::isdigit(static_cast<unsigned char>(Text[j]))) {
      while (j < Text.size() && std::isdigit(static_cast<unsigned char>(Text[j]))) ++j;
      i = j;
    }
  }
  return std::strtod(Text.substr(start, i - start).c_str(), nullptr);
}

std::string SchemaText(int Rule, int n) {
  switch (Rule) {
    case kRuleCartProd: return CartProd(n);
    case kRulePowerSet: return PowerSet(n);
    case kRuleFunction: return Function(n);
    case kRuleSetEquality: return SetEquality(n);
    case kRuleNtupleEquality: return NtupleEquality(n);
    case kRuleFnSpace: return FnSpace(n);
    case kRuleFnEquality: return FnEquality(n);
    default: throw RuleFailure("not a schema");
  }
}

InputBoxOutcome SchemaContinue(AppState& S) {
  const int rule = S.Doc.RuleMode;
  // Rounded to the nearest integer, halves to the even neighbour; a value
  // outside the 16-bit range is a failure of the box.
  const double value = std::nearbyint(LeadingNumber(InputBoxOf(S).Text1));
  if (!(value >= -32768 && value <= 32767)) throw RuleFailure("order out of range");
  const int n = static_cast<int>(value);
  const int least = (rule == kRuleCartProd || rule == kRuleNtupleEquality) ? 2 : 1;
  if (n < least) return Refuse(S, rule == kRuleNtupleEquality ? "Invalid number. Must be 2 or more." : "Invalid number");

  S.Parser.ExprText = SchemaText(rule, n);
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, "PARSER ERROR: " + S.Parser.ParseErr);
  S.Parser.ExprText = SchemaText(rule, n);
  S.Doc.RuleArg1 = 0;
  S.Doc.RuleArg2 = 0;
  if (!PutWithUndo(S)) {
    return Refuse(S, S.Parser.ParseErr.empty() ? kUnableMessage
                                               : "PARSER ERROR: " + S.Parser.ParseErr);
  }
  S.Doc.RuleMode = 0;
  InputBoxOutcome out;
  out.Hide = true;
  return out;
}

}  // namespace qv
