// Find and Repeat Find over the proof text; the Find window's logic.
#include "mainwindow/find.h"

#include <algorithm>

#include "view/view.h"
#include "platform/host.h"

namespace qv {

namespace {

int32_t TextLen(const std::string& t) { return static_cast<int32_t>(t.size()); }

// The occurrence of What found from Pos (1-based start, 0 when none):
// forward the first one starting at or after Pos, backward the last one
// lying wholly within the first Pos characters. Exact comparison.
int32_t Occurrence(const std::string& t, const std::string& What, int32_t Pos, bool Forward) {
  if (What.empty() || Pos < 1) return 0;
  size_t at;
  if (Forward) {
    at = t.find(What, static_cast<size_t>(Pos - 1));
  } else {
    if (Pos > TextLen(t)) Pos = TextLen(t);
    if (Pos < TextLen(What)) return 0;
    at = t.rfind(What, static_cast<size_t>(Pos - TextLen(What)));
  }
  return at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1;
}

// Goes on from F.FindPos until a statement takes a hit: selects it in the
// proof view, moves FindPos past it and hides the window. False when the
// search runs out first.
bool SearchOn(AppState& S, FindState& F) {
  const DocState& d = S.Doc;
  while (F.FindPos >= 1 && F.FindPos <= TextLen(d.ProofText)) {
    const int32_t h = Occurrence(d.ProofText, F.FindText, F.FindPos, F.Forward);
    if (h == 0) return false;
    F.FindPos = F.Forward ? h + 1 : h - 1;
    const int line = HitLine(d, h, F.ActiveOnly);
    if (line == 0) continue;
    const StmtRec& s = d.Stmts[line];
    if (S.View) {
      S.View->SetSelStart(h + s.ViewerStartLine - s.StartLine - 1);
      S.View->SetSelLength(TextLen(F.FindText));
    }
    if (F.Hide) F.Hide();
    return true;
  }
  return false;
}

void SetPlainFormat(RichBox& box, const char* font, int size) {
  box.SetSelFontName(font);
  box.SetSelFontSize(size);
  box.SetSelColor(kBlack);
  box.SetSelBold(false);
}

}  // namespace

const char* HeadingText(FindHeading h) {
  switch (h) {
    case FindHeading::Define: return "Define:";
    case FindHeading::Prove: return "Prove:";
    case FindHeading::Sufficient: return "Sufficient:";
    case FindHeading::AsRequired: return "As Required:";
    default: return "";
  }
}

int HitLine(const DocState& d, int32_t H, bool ActiveOnly) {
  const int count = std::min<int>(d.StmtCount, LastIndex(d.Stmts));
  int k = 1;
  while (k <= count) {
    const StmtRec& s = d.Stmts[k];
    // Blocks lie in line order: no later line can hold H.
    if (s.StartLine > H) return 0;
    // A closed sub-proof is passed over up to its Conclusion, which is
    // examined next.
    if (ActiveOnly) {
      if (const int c = ClosingConclusion(d, k)) {
        k = c;
        continue;
      }
    }
    if (s.Visible && s.StartLine <= H && H <= s.EndRule) return k;
    ++k;
  }
  return 0;
}

void optRepeatFind_Click(AppState& S, FindState& F) {
  if (F.FindPos < 1 || F.FindPos > TextLen(S.Doc.ProofText) || !SearchOn(S, F)) S.host->Beep();
}

FindForm::FindForm(AppState& S, FindState& F, RichBox& box) : S_(S), F_(F), box_(box) {}

void FindForm::Beep() {
  if (S_.host) S_.host->Beep();
}

void FindForm::Activate() {
  Heading = FindHeading::None;
  StatusLine.clear();
  // The proof view's selection, normalised in the work area (glyphs kept,
  // TABs dropped, one black fixed font), is the search string.
  RichBox* wa = S_.WorkArea;
  if (wa && S_.View) {
    const std::string sel = S_.View->SelLength() > 0 ? S_.View->SelRichText() : "";
    wa->SetText("");
    wa->SetSelRichText(sel);
    ReformatWA(S_, kBlack);
    box_.SetRichText(wa->RichText());
  } else {
    box_.SetText("");
  }
  box_.SetSelStart(box_.TextLength());
  box_.SetFocus();
}

void FindForm::Find() {
  try {
    F_.FindText = ConvertEpsilon(box_);
    if (F_.FindText.empty()) {
      StatusLine = "No string specified";
      Beep();
      box_.SetFocus();
      return;
    }
    const std::string& t = S_.Doc.ProofText;
    // Every Find starts over from the beginning or the end of the proof.
    F_.FindPos = F_.Forward ? 1 : TextLen(t);
    if (Occurrence(t, F_.FindText, F_.FindPos, F_.Forward) == 0) {
      StatusLine = "String not found in any statement";
      Beep();
      box_.SetFocus();
      return;
    }
    if (!SearchOn(S_, F_)) {
      StatusLine = F_.ActiveOnly ? "String not found in any active or visible statement"
                                 : "String not found in any visible statement";
      Beep();
      box_.SetFocus();
    }
  } catch (...) {
    Beep();
    StatusLine = "Unable to process search string";
  }
}

void FindForm::ChooseHeading(FindHeading h) {
  Heading = h;
  const std::string text = HeadingText(h);
  box_.SetText(text);
  box_.SetSelStart(0);
  box_.SetSelLength(TextLen(text));
  box_.SetSelFontName(kFixedFont);
  box_.SetSelFontSize(10);
  box_.SetSelStart(0);
  box_.SetFocus();
  StatusLine.clear();
}

void FindForm::Paste() {
  try {
    RichBox* wa = S_.WorkArea;
    if (!wa || !S_.host) {
      Beep();
      return;
    }
    // In rich-text mode the clipboard's rich form (its plain text when it
    // carries none), else its plain text, normalised like the search string.
    wa->SetText("");
    const std::string rich =
        S_.host->ControlChecked("optRichTextMode") ? S_.host->ClipboardRich() : "";
    if (!rich.empty()) {
      wa->SetSelRichText(rich);
    } else {
      wa->SetSelText(S_.host->ClipboardText());
    }
    ReformatWA(S_, kBlack);
    wa->SetSelStart(0);
    wa->SetSelLength(wa->TextLength());
    const std::string piece = wa->SelRichText();
    const int32_t p = box_.SelStart();
    box_.SetSelRichText(piece);
    box_.SetFocus();
    box_.SetSelStart(p);
  } catch (...) {
    Beep();
  }
}

void FindForm::Cancel() {
  if (F_.Hide) F_.Hide();
}

bool FindForm::FormKeyPress(char c) {
  if (c != 27) return false;
  Cancel();
  return true;
}

bool FindForm::KeyDown(bool Ctrl, bool Shift, bool Alt) {
  StatusLine.clear();
  return Ctrl && !Shift && !Alt;
}

bool FindForm::KeyPress(char c) {
  Heading = FindHeading::None;
  if (c == 13) {
    Find();
    return false;
  }
  const int size = S_.Ui.FontSize;
  if (c == '@') {
    // The glyph replaces the selection, as any typed character would.
    const int32_t p = box_.SelStart();
    box_.SetSelText("e");
    box_.SetSelStart(p);
    box_.SetSelLength(1);
    SetPlainFormat(box_, kSymbolFont, size);
    box_.SetSelStart(p + 1);
    SetPlainFormat(box_, kFixedFont, size);
    return false;
  }
  SetPlainFormat(box_, kFixedFont, size);
  return true;
}

}  // namespace qv
