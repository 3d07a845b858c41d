// The input box's branch for the axiom schemata of order n: reading the
// order, the schema texts and putting them.
#include "rules_fixture.h"

namespace qv {
namespace {

// " / " in the worked texts stands for a line break inside the statement.
std::string Lines(std::string t) {
  for (size_t p; (p = t.find(" / ")) != std::string::npos;) t.replace(p, 3, "\r\n");
  return t;
}

class Schema : public RulesTest {
 protected:
  // Types Input into the box of schema Rule and presses Continue.
  InputBoxOutcome Continue(int Rule, const std::string& Input) {
    S.Doc.RuleMode = Rule;
    InputBoxOf(S).Text1 = Input;
    InputBoxOf(S).Label2.clear();
    return MyInputBox_Continue(S);
  }
};

TEST(SchemaText, WorkedTexts) {
  EXPECT_EQ(SchemaText(25, 2), Lines("ALL(a1):ALL(a2):[Set(a1)& Set(a2)=> / EXIST(b):[Set'(b)&ALL(c1):ALL(c2):[(c1,c2)@b<=>c1@a1&c2@a2]]]"));
  EXPECT_EQ(SchemaText(25, 3), Lines("ALL(a1):ALL(a2):ALL(a3):[Set(a1)& Set(a2)& Set(a3)=> / EXIST(b):[Set''(b)&ALL(c1):ALL(c2):ALL(c3):[(c1,c2,c3)@b<=>c1@a1&c2@a2&c3@a3]]]"));
  EXPECT_EQ(SchemaText(26, 1), Lines("ALL(a):[Set(a)=>EXIST(b):[Set(b) / & ALL(c):[c@b<=> Set(c)&ALL(d):[d@c=>d@a]]]]"));
  EXPECT_EQ(SchemaText(26, 3), Lines("ALL(a):[Set''(a)=>EXIST(b):[Set(b) / & ALL(c):[c@b<=> Set''(c)&ALL(d1):ALL(d2):ALL(d3):[(d1,d2,d3)@c=>(d1,d2,d3)@a]]]]"));
  EXPECT_EQ(SchemaText(27, 2), Lines("ALL(dom):ALL(cod):ALL(gra):[Set'(dom) & Set(cod) & Set''(gra) / &EXIST(a1):EXIST(a2):(a1,a2)@dom & EXIST(a1):a1@cod / =>[ALL(a1):ALL(a2):ALL(b):[(a1,a2,b) @ gra => (a1,a2)@dom & b@cod] / & ALL(a1):ALL(a2):[(a1,a2)@dom => EXIST(b):[b @ cod & (a1 ,a2,b) @ gra]] / &ALL(a1):ALL(a2):ALL(b1):ALL(b2):[(a1,a2)@dom & b1@cod & b2@cod / =>[(a1,a2,b1)@gra & (a1,a2,b2)@gra => b1=b2]] / => EXIST(fun):ALL(a1):ALL(a2):ALL(b): [(a1,a2)@dom & b@cod / => [fun(a1,a2)=b <=> (a1,a2,b)@gra]]]]"));
  // One component keeps the tuple brackets of (a1).
  EXPECT_NE(SchemaText(27, 1).find("Set(dom) & Set(cod) & Set'(gra)"), std::string::npos);
  EXPECT_NE(SchemaText(27, 1).find("[b @ cod & (a1 ,b) @ gra]]"), std::string::npos);
  EXPECT_NE(SchemaText(27, 1).find("=> [fun(a1)=b <=> (a1,b)@gra]]]]"), std::string::npos);
  EXPECT_EQ(SchemaText(53, 2), Lines("ALL(dom):ALL(cod):[Set'(dom) & Set(cod) / &EXIST(a1):EXIST(a2):(a1,a2)@ dom & EXIST(a1): a1@cod / => EXIST(fsp):[Set(fsp) & ALL(f):[f@fsp <=>ALL(a1):ALL(a2):[(a1,a2)@dom => f(a1,a2)@cod]]]]"));
  EXPECT_EQ(SchemaText(29, 1), "ALL(a):ALL(b):[Set(a)&Set(b)=>[a=b<=>ALL(c):[c@a<=>c@b]]]");
  EXPECT_EQ(SchemaText(29, 3), Lines("ALL(a):ALL(b):[Set''(a)&Set''(b)=>[a=b / <=>ALL(c1):ALL(c2):ALL(c3):[(c1,c2,c3)@a<=>(c1,c2,c3)@b]]]"));
  EXPECT_EQ(SchemaText(48, 3), Lines("ALL(a1):ALL(a2):ALL(a3):ALL(b1):ALL(b2):ALL(b3):[(a1,a2,a3)=(b1,b2,b3) / <=>a1=b1&a2=b2&a3=b3]"));
  EXPECT_EQ(SchemaText(54, 1), Lines("ALL(dom):ALL(cod):ALL(f1):ALL(f2):[Set(dom) & Set(cod) / & EXIST(a): a@ dom & EXIST(a): a@ cod / & ALL(a):[a @ dom => f1(a) @ cod] / & ALL(a):[a @ dom => f2(a) @ cod] / =>[f1=f2 <=> ALL(a):[a @ dom => f1(a)=f2(a)]]]"));
  EXPECT_EQ(SchemaText(54, 2), Lines("ALL(dom):ALL(cod):ALL(f1):ALL(f2):[Set'(dom) & Set(cod) / &EXIST(a1):EXIST(a2):(a1,a2)@ dom & EXIST(a1):a1 @ cod / &ALL(a1):ALL(a2):[(a1,a2)@dom => f1(a1,a2)@cod] / & ALL(a1):ALL(a2):[(a1,a2)@dom => f2(a1,a2)@cod] / => [f1=f2 <=>ALL(a1):ALL(a2):[(a1,a2)@dom => f1(a1,a2)=f2(a1,a2)]]]"));
}

TEST(SchemaText, LeadingNumber) {
  EXPECT_EQ(LeadingNumber("  3abc"), 3);
  EXPECT_EQ(LeadingNumber("2.5"), 2.5);
  EXPECT_EQ(LeadingNumber("x3"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("-4"), -4);
  EXPECT_EQ(LeadingNumber("2e1x"), 20);
  EXPECT_EQ(LeadingNumber("2e"), 2);
}

TEST_F(Schema, EverySchemaOfSmallOrderIsPutAndParses) {
  const int rules[] = {25, 26, 27, 29, 53, 54};
  int count = 0;
  for (int rule : rules) {
    for (int n = (rule == 25 || rule == 48) ? 2 : 1; n <= 4; ++n) {
      EXPECT_TRUE(Continue(rule, std::to_string(n)).Hide) << rule << " " << n << " " << InputBoxOf(S).Label2;
      ASSERT_EQ(S.Doc.StmtCount, ++count);
      EXPECT_EQ(S.Doc.RuleMode, 0);
      EXPECT_EQ(S.Doc.Stmts[count].Rule, rule);
      EXPECT_EQ(S.Doc.Stmts[count].Arg1, 0);
      EXPECT_EQ(S.Doc.Stmts[count].Arg2, 0);
    }
  }
  EXPECT_EQ(RuleText(1), "Cart Prod");
  EXPECT_EQ(host.beeps, 0);
}

TEST_F(Schema, OrdersBelowTheLeastAreRefusedAndTheBoxStaysOpen) {
  EXPECT_FALSE(Continue(25, "1").Hide);
  EXPECT_EQ(InputBoxOf(S).Label2, "Invalid number");
  EXPECT_FALSE(Continue(48, "1").Hide);
  EXPECT_EQ(InputBoxOf(S).Label2, "Invalid number. Must be 2 or more.");
  EXPECT_FALSE(Continue(26, "abc").Hide);
  EXPECT_EQ(InputBoxOf(S).Label2, "Invalid number");
  EXPECT_FALSE(Continue(29, "0.5").Hide);  // rounds to 0
  EXPECT_EQ(S.Doc.RuleMode, 29);
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_EQ(host.beeps, 4);
  // Out of the 16-bit range: a failure of the box, nothing put.
  EXPECT_FALSE(Continue(29, "40000").Hide);
  EXPECT_EQ(InputBoxOf(S).Label2, "Unable to process request");
  EXPECT_FALSE(Continue(29, "1e999").Hide);
  EXPECT_EQ(InputBoxOf(S).Label2, "Unable to process request");
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_FALSE(S.Ui.ProofChanged);
}

TEST_F(Schema, OrderIsRoundedHalfToEven) {
  ASSERT_TRUE(Continue(29, "2.5").Hide);
  ASSERT_TRUE(Continue(29, "3.5").Hide);
  ASSERT_TRUE(Continue(29, "3abc").Hide);
  EXPECT_EQ(Formula(1).find("c3"), std::string::npos);
  EXPECT_NE(Formula(2).find("c4"), std::string::npos);
  EXPECT_NE(Formula(3).find("c3"), std::string::npos);
  EXPECT_EQ(Formula(3).find("c4"), std::string::npos);
}

// An equation between tuples is not an expression the parser takes, so the
// n-tuple equality schema is refused with its message and nothing is put.
TEST_F(Schema, AnUnparsableSchemaIsRefusedInTheBox) {
  Put("P(k)", kRuleAxiom);
  EXPECT_FALSE(Continue(48, "2").Hide);
  EXPECT_EQ(InputBoxOf(S).Label2.rfind("PARSER ERROR: ", 0), 0u) << InputBoxOf(S).Label2;
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(S.Doc.RuleMode, 48);
  EXPECT_FALSE(S.Undo.Valid);
  EXPECT_EQ(host.beeps, 1);
}

TEST_F(Schema, InsertModePutsBeforeTheInsertLineAndUndoRemovesIt) {
  Put("P(k)", kRuleAxiom);
  Put("Q(k)", kRuleAxiom);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  ASSERT_TRUE(Continue(26, "1").Hide);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.Stmts[2].Rule, 26);
  EXPECT_EQ(S.Doc.InsertLine, 3);
  EXPECT_EQ(Formula(3), "Q(k)");
  EXPECT_EQ(S.Undo.StmtCount, 2);
}

}  // namespace
}  // namespace qv
