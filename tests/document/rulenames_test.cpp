#include <gtest/gtest.h>

#include "document/state.h"

namespace qv {
namespace {

TEST(RuleNames, CodesMatchTheirNames) {
  EXPECT_STREQ(RuleNames[0], "");
  EXPECT_STREQ(RuleNames[kRulePremise], "Premise");
  EXPECT_STREQ(RuleNames[kRuleConclusion], "Conclusion");
  EXPECT_STREQ(RuleNames[kRuleJoin], "Join");
  EXPECT_STREQ(RuleNames[kRuleAxiom], "Axiom");
  EXPECT_STREQ(RuleNames[54], "Fn Equality");
}

}  // namespace
}  // namespace qv
