// The comment and Introduction editor: reads and writes a statement's comment or the Introduction.
#include "entry/comment.h"

#include <exception>

#include "view/view.h"
#include "platform/host.h"

namespace qv {

namespace {

const char* const kSeparator = "\r\n\r\n";

// Puts I at the start of every line of t.
std::string IndentLines(const std::string& t, const std::string& I) {
  std::string out = I;
  for (char c : t) {
    out += c;
    if (c == '\n') out += I;
  }
  return out;
}

}  // namespace

void WriteCommentText(AppState& S, bool intro, int line, std::string t) {
  DocState& d = S.Doc;
  std::string& text = d.ProofText;

  // Blanks at both ends go; so do trailing line breaks.
  const size_t first = t.find_first_not_of(' ');
  if (first == std::string::npos) {
    t.clear();
  } else {
    t = t.substr(first, t.find_last_not_of(' ') - first + 1);
  }
  while (t.size() > 1 && t.back() == '\n') t.resize(t.size() - 2);

  if (intro) {
    if (d.StmtCount == 0) {
      BackUpUndo(S);
      d.IntroLen = static_cast<int32_t>(t.size());
      text = t + kSeparator;
      return;
    }
    if (t.empty() && d.IntroLen == 0) return;
    const int32_t S1 = d.Stmts[1].StartLine;
    const int32_t delta =
        t.empty() ? -(S1 - 1) : static_cast<int32_t>(t.size()) + 5 - S1;
    BackUpUndo(S);
    d.IntroLen = static_cast<int32_t>(t.size());
    text = (t.empty() ? std::string() : t + kSeparator) + text.substr(S1 - 1);
    for (int k = 1; k <= d.StmtCount; ++k) ShiftStmtPositions(d.Stmts[k], delta);
    RecomputeViewPositions(d);
    return;
  }

  if (line < 1 || line > d.StmtCount) return;
  StmtRec& s = d.Stmts[line];
  const int32_t SL = s.StartLine;
  const int32_t E = s.EndUserComment;
  int32_t delta = 0;
  if (E <= 0) {
    // A new comment, indented like the statement's number line.
    if (t.empty()) return;
    int tabs = 0;
    for (int32_t p = SL; p <= s.StartStmt && p <= static_cast<int32_t>(text.size()); ++p)
      if (text[p - 1] == '\t') ++tabs;
    const std::string I(static_cast<size_t>(std::max(0, tabs - 1)), '\t');
    t = IndentLines(t, I);
    BackUpUndo(S);
    text = text.substr(0, SL - 1) + t + kSeparator + text.substr(SL - 1);
    const int32_t L = static_cast<int32_t>(t.size());
    s.EndUserComment = SL + L - 1;
    delta = L + 4;
  } else if (!t.empty()) {
    // A new text for an existing comment, with the old one's indentation.
    int tabs = 0;
    for (int32_t p = SL; p <= static_cast<int32_t>(text.size()) && text[p - 1] == '\t'; ++p) ++tabs;
    t = IndentLines(t, std::string(static_cast<size_t>(tabs), '\t'));
    BackUpUndo(S);
    text = text.substr(0, SL - 1) + t + text.substr(E);
    const int32_t L = static_cast<int32_t>(t.size());
    delta = L - (E - SL + 1);
    s.EndUserComment = SL + L - 1;
  } else {
    // An empty text deletes the comment and its separator.
    BackUpUndo(S);
    text = text.substr(0, SL - 1) + text.substr(E + 4);
    delta = -(E - SL + 1 + 4);
    s.EndUserComment = 0;
  }
  s.StartStmt += delta;
  s.EndStmt += delta;
  s.StartRule += delta;
  s.EndRule += delta;
  for (int k = line + 1; k <= d.StmtCount; ++k) ShiftStmtPositions(d.Stmts[k], delta);
  RecomputeViewPositions(d);
}

CommentEditor::CommentEditor(AppState& S, RichBox& box)
    : S_(S), box_(box), editor_(S, box, EditorKind::Comment) {}

void CommentEditor::Activate() {
  const DocState& d = S_.Doc;
  box_.SetDefaultFont(kEditorFont, S_.Ui.FontSize);
  box_.SetText("");
  box_.SetFocus();
  box_.SetSelColor(kCommentBlue);
  box_.SetSelFontSize(S_.Ui.FontSize);
  box_.SetSelBold(false);
  editor_.UndoOn = false;
  editor_.RedoOn = false;

  std::string s;
  if (CommentEditorOf(S_).EditingIntro) {
    Caption = "Edit Introduction";
    if (d.IntroLen <= 0) return;
    s = d.ProofText.substr(0, static_cast<size_t>(d.IntroLen));
  } else {
    Caption = "Edit User Comment, Line " + std::to_string(CommentEditorOf(S_).CommentLine);
    const int n = CommentEditorOf(S_).CommentLine;
    if (n < 1 || n > d.StmtCount) return;
    const StmtRec& st = d.Stmts[n];
    if (st.EndUserComment <= 0) return;
    for (int32_t p = st.StartLine; p <= st.EndUserComment; ++p)
      if (d.ProofText[p - 1] != '\t') s += d.ProofText[p - 1];
  }
  box_.SetText(s);
  box_.SetSelStart(0);
  box_.SetSelLength(static_cast<int32_t>(s.size()));
  box_.SetSelFontName(kEditorFont);
  box_.SetSelBold(false);
  box_.SetSelFontSize(S_.Ui.FontSize);
  box_.SetSelColor(kCommentBlue);
  ConvertAmpersand(box_, 1, static_cast<int32_t>(s.size()));
  box_.SetSelStart(0);
}

void CommentEditor::InsertHeading(const std::string& heading) {
  S_.Ui.UndoRTF = box_.RichText();
  box_.SetSelText(heading);
  const int32_t end = box_.SelStart();
  box_.SetSelStart(end - static_cast<int32_t>(heading.size()));
  box_.SetSelLength(static_cast<int32_t>(heading.size()));
  box_.SetSelFontName(kEditorFont);
  box_.SetSelColor(kCommentBlue);
  box_.SetSelStart(end);
  box_.SetFocus();
  editor_.UndoOn = true;
}

void CommentEditor::Cancel() {
  ClearStatus(S_);
  if (OnHide) OnHide();
}

bool CommentEditor::FormKeyPress(char c) {
  if (c != kKeyEsc) return false;
  Cancel();
  return true;
}

void CommentEditor::Continue() {
  try {
    const bool intro = CommentEditorOf(S_).EditingIntro;
    const int n = CommentEditorOf(S_).CommentLine;
    WriteCommentText(S_, intro, n, ConvertEpsilon(box_));
    ResetFonts(S_);
    if (S_.View) {
      S_.View->SetSelStart(0);
      if (!intro && n >= 1 && n <= S_.Doc.StmtCount) {
        const StmtRec& s = S_.Doc.Stmts[n];
        if (s.Visible) S_.View->SetSelStart(s.EndRule - s.StartLine + s.ViewerStartLine);
      }
    }
    ClearStatus(S_);
    Cancel();
  } catch (const std::exception&) {
    if (S_.host) S_.host->Beep();
  }
}

}  // namespace qv
