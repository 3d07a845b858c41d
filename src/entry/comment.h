// The comment and Introduction editor "Comment": shows the user comment of
// one statement (CommentEditorOf(S).CommentLine) or the Introduction (CommentEditorOf(S).EditingIntro),
// inserts the standard headings, and on Continue writes the text back into
// the proof with every stored position moved. Free of Qt.
#pragma once

#include <functional>
#include <string>

#include "document/state.h"
#include "entry/editor.h"
#include "platform/richbox.h"

namespace qv {

// The heading buttons and the text each inserts.
inline constexpr const char* kHeadingAsRequired = "As Required: ";
inline constexpr const char* kHeadingSufficient = "Sufficient: ";
inline constexpr const char* kHeadingProve = "Prove: ";
inline constexpr const char* kHeadingDefine = "Define: ";

class CommentEditor {
 public:
  CommentEditor(AppState& S, RichBox& box);

  ExprEditor& Editor() { return editor_; }
  RichBox& Box() { return box_; }

  std::string Caption;
  // Called when the window hides itself.
  std::function<void()> OnHide;

  // Each time the window is shown: fills the box from the proof.
  void Activate();
  // Inserts a heading over the selection, caret behind it.
  void InsertHeading(const std::string& heading);
  // Writes the text into the proof, redraws and hides the window.
  void Continue();
  // Leaves the proof unchanged and hides the window.
  void Cancel();
  // The close box.
  void QueryUnload() { Cancel(); }
  // Esc cancels; returns true when the key was swallowed.
  bool FormKeyPress(char c);

 private:
  void Write(std::string t);

  AppState& S_;
  RichBox& box_;
  ExprEditor editor_;
};

// Writes t (plain text, element-of as "@") into the proof as the
// Introduction or as the comment of statement `line`, as the comment editor's
// Continue does: trims blanks and trailing line breaks, indents a comment like
// its statement, takes the undo snapshot when the document changes, and moves
// every stored position. An empty text deletes. Does not redraw.
void WriteCommentText(AppState& S, bool intro, int line, std::string t);

}  // namespace qv
