// The subset-axiom window "SubsetFrm": the user names a subset of the set U
// of a clicked Set statement, gives the bound variable (or the bound
// variables of a tuple) for its elements and types the selection criterion;
// Continue checks the three and puts the subset axiom under the Subset rule.
// The logic is free of Qt: the dialog forwards its buttons, keys and menus.
#pragma once

#include <functional>
#include <string>

#include "document/state.h"
#include "entry/editor.h"
#include "platform/richbox.h"

namespace qv {

inline constexpr const char* kSubsetForm = "SubsetFrm";

// Where a refusal puts the focus.
enum class FormFocus { None, NameBox, VarBox, Expression };

// ---- Shared by the subset and induction windows ----

// Paints the token of the last parse that starts at Pos (1-based in the
// parsed text) red in Box and leaves the caret before it.
void PaintToken(const ParserState& P, RichBox& Box, int Pos);

// What the subset and induction windows share: the expression editor, the
// message line, where a refusal puts the focus, Esc and a Continue that
// turns an unexpected failure into a message instead of leaving the window.
class CriterionForm {
 public:
  CriterionForm(AppState& S, RichBox& box, EditorKind kind);
  virtual ~CriterionForm() = default;

  ExprEditor& Editor() { return editor_; }
  RichBox& Box() { return box_; }

  std::string StatusLine = "Status Line";
  FormFocus Focus = FormFocus::None;
  // Called when the window hides itself (success, Cancel, Esc).
  std::function<void()> OnHide;

  void Continue();
  virtual void Cancel() = 0;
  // Esc cancels; returns true when the key was swallowed.
  bool FormKeyPress(char c);
  // The box reports a change. Only a change of its text is an edit of the
  // expression, which empties the message line unless the window keeps it;
  // the colours a check paints (the expression black, the offending token
  // red) change no text, so the message of that check stays.
  void BoxChanged();

 protected:
  // While false, an edit of the expression leaves the message line alone.
  virtual bool ClearsStatusOnChange() const = 0;
  virtual void ContinueChecked() = 0;
  // Beep, the message in the message line, and the focus where it belongs.
  void Refuse(const std::string& message, FormFocus focus);
  // Colours the whole expression black and parses it (the element-of glyph
  // read as "@") into P; true when it parses.
  bool ParseExpression(ParserState& P);

  AppState& S_;
  RichBox& box_;
  ExprEditor editor_;

 private:
  std::string seenText_;  // the box's text at the last change reported
};

class SubsetForm : public CriterionForm {
 public:
  SubsetForm(AppState& S, RichBox& box);

  // The window's caption and prompt (set by the Subset rule), the two text
  // boxes and the message line.
  std::string Caption = " Subset Axiom - Enter Selection Criteria";
  std::string Label1;
  std::string SubsetName;
  std::string BoundVars;
  // While set, a change of the expression empties the message line.
  bool ClearStatusOnChange = false;

  void Activate();
  void Cancel() override;
  // The close box.
  void QueryUnload();
  // The Clear item and button: the editor's clear, then the two text boxes
  // and the message line are emptied.
  void ClearForm();
  // A text box changed.
  void TextBoxChanged() { StatusLine.clear(); }

 private:
  bool ClearsStatusOnChange() const override { return ClearStatusOnChange; }
  void ContinueChecked() override;
};

}  // namespace qv
