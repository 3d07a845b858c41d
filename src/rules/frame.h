// Shared steps of the click rules: beeps and status messages, the spans of
// operands in a statement's text, the variable-name lists of a statement,
// saving a parse aside, and putting new statements all-or-nothing under one
// undo snapshot.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "document/state.h"
#include "view/view.h"

namespace qv {

// Thrown when a rule meets a parse it cannot read (a span outside the text,
// a missing token). The click dispatch reports it as "Unable to process
// request"; the Conclusion and the input box catch it themselves.
class RuleFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Beep, then "PARSER ERROR: " and ParseErr on the status line.
void PostParseError(AppState& S);
// The rule is finished: RuleMode 0 and an empty status line.
void EndRule(AppState& S);

// The first steps of a rule that works on a whole statement: the active
// statement under the caret goes into ExprText and is parsed. Returns its
// line, or 0 when the click cannot be used: nothing under the caret (a beep)
// or a parse error, reported as the rule wants it.
enum class OnParseError {
  Keep,        // beep and message; the rule stays armed
  End,         // beep and message; the rule ends
  KeepSilent,  // message only; the rule stays armed
};
int ClickedStatement(AppState& S, OnParseError OnError);
// The same for a rule whose new statement cites the clicked line alone:
// RuleArg1 becomes that line and RuleArg2 0.
int ClickedCitedStatement(AppState& S, OnParseError OnError);

// ---- Operand spans (1-based, inclusive, in the text that was parsed) ----
struct TextSpan {
  int Start = 0;
  int End = 0;
};
bool IsRealToken(const TokenRec& t);
// Last character of a real token.
int TokenLast(const TokenRec& t);
// From the first token that stands for Node: start at the first real token
// after it, end at the last real token before its partner.
TextSpan ForwardNodeSpan(const std::vector<TokenRec>& Toks, int Node);
// From the last token that stands for Node, the same the other way round.
TextSpan BackwardNodeSpan(const std::vector<TokenRec>& Toks, int Node);
// The two operands of the operator token K.
TextSpan OperatorLeftSpan(const std::vector<TokenRec>& Toks, int K);
TextSpan OperatorRightSpan(const std::vector<TokenRec>& Toks, int K);
// The text of a span; throws RuleFailure when it lies outside Text.
std::string SpanText(const std::string& Text, TextSpan Span);
// The Token texts of the real tokens From..To, joined without separators.
std::string RealTokenText(const std::vector<TokenRec>& Toks, int From, int To);

// Replaces every real token whose text is From by To, working from the last
// token so the earlier positions stay valid.
std::string ReplaceTokens(const std::string& Text, const std::vector<TokenRec>& Toks,
                          const std::string& From, const std::string& To);
// The same for several names at once: a token equal to From[i] becomes To[i]
// (the first i that matches), and what was put in is never replaced again.
std::string ReplaceTokens(const std::string& Text, const std::vector<TokenRec>& Toks,
                          const std::vector<std::string>& From, const std::vector<std::string>& To);

// ---- Name lists (" a b " form; VarListNames and InList are in document.h) ----

// Copies ExprText, Tokens and Nodes into the Saved* fields.
void SaveParse(AppState& S);

// True when the parse is exactly N distinct names separated by commas:
// N Atom nodes followed by N - 1 Ntuple nodes (one Atom for N = 1).
bool IsNameList(const std::vector<NodeRec>& Nodes, int N);

// ---- Putting statements ----

// Begins a change of the proof that may fail half way: takes the undo
// snapshot (BackUpUndo), keeping the snapshot it replaces, the changed flag,
// the state of the undo/redo controls and the insert line, so that Rollback
// can put everything back. The document as it was is the new undo snapshot
// itself (or, for a proof without statements, a copy kept here, the undo
// snapshot staying as it was), so beginning costs no more than the snapshot.
class ProofTransaction {
 public:
  explicit ProofTransaction(AppState& S);
  // Puts back what was remembered and redraws the view.
  void Rollback();

 private:
  AppState& S_;
  bool Own_ = false;
  std::string ProofText_;
  std::vector<StmtRec> Stmts_;
  int StmtCount_ = 0;
  int32_t IntroLen_;
  int InsertLine_;
  UndoSnapshot Undo_;
  bool ProofChanged_;
  bool Enabled_[4];
  std::string InsertLabel_;
};

// BackUpUndo, then the texts added in one go (PutStmts) with the current
// RuleMode, RuleArg1 and RuleArg2. Either every statement is added, or the proof and
// the undo state stay as they were and false is returned.
bool PutStatements(AppState& S, const std::vector<std::string>& Texts);
// The same for the single statement in ExprText.
bool PutWithUndo(AppState& S);

// ---- Shapes of parses ----
// A node's shape writes out its kind, its name and the shapes of its operands,
// so two parses compare node for node whatever their node numbers. A rule
// that rewrites text compares the parse of its new text with the shape it
// means to build, so that bracketing can never change what a step derives.
std::string NodeShape(int Kind, const std::string& Name, const std::string& Op1,
                      const std::string& Op2 = std::string());
// The shape of every node of Nodes, index for index (entry 0 empty).
std::vector<std::string> NodeShapes(const std::vector<NodeRec>& Nodes);
// The shape of the whole parse with node Replaced standing for Shape.
std::string ShapeWith(const std::vector<NodeRec>& Nodes, int Replaced, const std::string& Shape);
// The shape of the root of the last parse ("" when there is none).
std::string RootShape(const std::vector<NodeRec>& Nodes);
// The node of the operator application whose operator token is K, found
// from the brackets of its left operand: 0 when the layout does not hold one.
int OperatorNode(const std::vector<TokenRec>& Toks, const std::vector<NodeRec>& Nodes, int K);
// Forward / backward node span restricted to the tokens From..To, for a node
// (a shared name, say) that also stands elsewhere in the statement.
TextSpan ForwardNodeSpanIn(const std::vector<TokenRec>& Toks, int Node, int From, int To);
TextSpan BackwardNodeSpanIn(const std::vector<TokenRec>& Toks, int Node, int From, int To);

// Parses Text into the parser's tables and compares its shape with
// Expected: Ok, ParseError (ParseErr set) or Changed (it parses to another
// statement than the one intended).
enum class RewriteCheck { Ok, ParseError, Changed };
RewriteCheck CheckRewrite(AppState& S, const std::string& Text, const std::string& Expected);

// The clicked token of an active statement (SelectToken) with copies of the
// statement's text and parse; false after a beep when nothing was clicked.
struct ClickedToken {
  int Line = 0;
  int K = 0;
  std::string T;
  std::vector<TokenRec> Toks;
  std::vector<NodeRec> Nodes;
};
bool ClickToken(AppState& S, ClickedToken& c);

// What a rewritten statement that does not parse does: keep the rule armed
// with the parser's message, end it with the message, or a bare beep.
enum class OnResultError { Keep, End, Silent };
// Checks that Text parses to Expected and puts it citing Line alone, under
// one undo snapshot, then ends the rule. A text that parses to anything else
// is refused with a beep and the rule stays armed.
void PutRewrite(AppState& S, int Line, const std::string& Text, const std::string& Expected,
                OnResultError OnError);

// The text of Span cut from Text when it parses to exactly Shape, the shape
// of the node it was cut for; false when it does not (a cut that took in a
// bracket too many or too few). Rules that compare operand texts with
// SameStmt take them through this, so a text can never stand for another
// statement than its node.
bool OperandTextOf(const std::string& Text, TextSpan Span, const std::string& Shape,
                   std::string& Out);

}  // namespace qv
