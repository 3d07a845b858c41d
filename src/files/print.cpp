// The page text of a printed proof and the print window's logic.
#include "files/print.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "view/view.h"
#include "files/filesinternal.h"
#include "platform/host.h"
#include "platform/memrichbox.h"

namespace qv {

namespace {

constexpr int kCaptionPoints = 12;
constexpr int kTextPoints = 10;
constexpr int kRuleTextPoints = 8;

// ProofText from the 1-based position From to To inclusive, clamped to the
// text, so a damaged position can shorten a part but never reach outside.
std::string Mid(const std::string& T, int32_t From, int32_t To) {
  if (From < 1) From = 1;
  if (To > static_cast<int32_t>(T.size())) To = static_cast<int32_t>(T.size());
  if (To < From) return "";
  return T.substr(static_cast<size_t>(From - 1), static_cast<size_t>(To - From + 1));
}

}  // namespace

void InsertBreaks(std::string& Text, int MaxLineLen) {
  size_t i = 0;
  int count = 0;
  // The last character is never looked at.
  while (i + 1 < Text.size()) {
    if (Text[i] == '\r') {
      count = 0;
      i += Text[i + 1] == '\n' ? 2 : 1;
      continue;
    }
    ++count;
    ++i;
    if (count < MaxLineLen) continue;
    size_t j = i;
    while (j + 1 < Text.size() && Text[j] != ' ' && Text[j] != '\r') ++j;
    if (j + 1 >= Text.size()) return;  // no place left to break the line
    if (Text[j] == ' ') Text.replace(j, 1, "\r\n");
    i = j + (j + 1 < Text.size() && Text[j + 1] == '\n' ? 2 : 1);
    count = 0;
  }
}

void RemoveTabs(std::string& Text) { std::erase(Text, '\t'); }

void InsertTabs(std::string& Text) {
  std::string out;
  out.reserve(Text.size() + Text.size() / 32);
  for (char c : Text) {
    out += c;
    if (c == '\n') out += '\t';
  }
  Text.swap(out);
}

int LineNumberOf(const std::string& Text) {
  size_t i = 0;
  while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t')) ++i;
  bool negative = false;
  if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
  double v = 0;
  while (i < Text.size() && Text[i] >= '0' && Text[i] <= '9') v = v * 10 + (Text[i++] - '0');
  if (i < Text.size() && Text[i] == '.') {
    double scale = 0.1;
    for (++i; i < Text.size() && Text[i] >= '0' && Text[i] <= '9'; ++i, scale /= 10)
      v += (Text[i] - '0') * scale;
  }
  v = std::nearbyint(negative ? -v : v);  // half to even
  // A number beyond a line number's range is held at its edge; it is out of
  // every proof's range anyway.
  if (!(v >= -32768)) return -32768;
  if (v > 32767) return 32767;
  return static_cast<int>(v);
}

int32_t BuildPrintText(const AppState& S, int First, int Last, RichBox& Box) {
  const DocState& d = S.Doc;
  const std::string& P = d.ProofText;
  struct Part {
    int32_t start, length;
    int points;
    bool bold;
  };
  std::vector<Part> parts;
  Box.SetDefaultFont(kFixedFont, kTextPoints);
  Box.SetText("");
  // Each part is appended where the text ends; its extent is read back from
  // the box, which keeps line breaks as CR LF whatever came in.
  auto add = [&](const std::string& text, int points, bool bold) {
    const int32_t start = Box.TextLength();
    Box.SetSelStart(start);
    Box.SetSelText(text);
    parts.push_back({start, Box.TextLength() - start, points, bold});
  };

  if (!S.Ui.ProofCaption.empty()) {
    std::string caption = S.Ui.ProofCaption;
    InsertBreaks(caption, kPrintLineLen);
    add(caption + "\r\n\r\n", kCaptionPoints, true);
  }
  if (First == 1 && d.IntroLen > 0) add(Mid(P, 1, d.IntroLen + 4), kTextPoints, false);
  for (int n = First; n <= Last; ++n) {
    const StmtRec& s = d.Stmts[n];
    if (s.EndUserComment > 0) {
      std::string comment = Mid(P, s.StartLine, s.EndUserComment);
      RemoveTabs(comment);
      InsertBreaks(comment, kPrintLineLen);
      add(comment + "\r\n\r\n", kTextPoints, false);
    }
    std::string formula = Mid(P, s.StartStmt, s.EndStmt);
    RemoveTabs(formula);
    InsertBreaks(formula, kPrintLineLen);
    InsertTabs(formula);
    add(std::to_string(n) + "\t" + formula + "\r\n", kTextPoints, false);
    std::string rule = Mid(P, s.StartRule, s.EndRule);
    // A Conclusion's rule text opens with its tag and a blank, which only
    // the screen shows.
    if (s.Rule == kRuleConclusion) rule.erase(0, 2);
    add("\t" + rule + "\r\n\r\n", kRuleTextPoints, false);
  }
  const int32_t footer = Box.TextLength();
  add(S.Ui.ProofFileName.empty() ? "(Untitled)" : S.Ui.ProofFileName, kTextPoints, false);

  // The glyph first, so that each part's size and weight below cover it
  // too; an "@" in the file name is no element-of sign.
  ConvertAmpersand(Box, 1, footer);
  for (const Part& p : parts) {
    Box.SetSelStart(p.start);
    Box.SetSelLength(p.length);
    Box.SetSelFontSize(p.points);
    Box.SetSelBold(p.bold);
    Box.SetSelColor(kBlack);
  }
  Box.SetSelStart(0);
  return S.Ui.ProofFileName.empty() ? -1 : footer;
}

void PrintProofForm::Activate() {
  FromLine = LineNumberOf(PrintProofOf(S).Text1);
  ToLine = LineNumberOf(PrintProofOf(S).Text2);
  AllStmtsClicked(FromLine == 1 && ToLine == S.Doc.StmtCount);
  Caption = " Print Proof - Max. " + std::to_string(S.Doc.StmtCount) + " Lines";
}

void PrintProofForm::AllStmtsClicked(bool Checked) {
  AllStmts = Checked;
  RangeEnabled = !Checked;
  if (Checked) {
    PrintProofOf(S).Text1 = "1";
    PrintProofOf(S).Text2 = std::to_string(S.Doc.StmtCount);
  } else {
    PrintProofOf(S).Text1 = std::to_string(FromLine);
    PrintProofOf(S).Text2 = std::to_string(ToLine);
  }
  StatusLine.clear();
}

void PrintProofForm::Text2Changed() { StatusLine.clear(); }

bool PrintProofForm::Continue() {
  const int First = LineNumberOf(PrintProofOf(S).Text1);
  const int Last = LineNumberOf(PrintProofOf(S).Text2);
  const int n = S.Doc.StmtCount;
  if (First < 1 || First > n || Last < 1 || Last > n || First > Last) {
    FilesBeep(S);
    StatusLine = "Invalid range";
    return false;
  }
  if (S.Doc.ProofText.empty()) {
    StatusLine = "PRINT: No text to print";
    FilesBeep(S);
    return false;
  }
  try {
    MemRichBox page;
    const int32_t fileName = BuildPrintText(S, First, Last, page);
    if (!S.host) throw std::runtime_error("no printer service");
    switch (S.host->PrintRichText(page.RichText(), kPrintMargin, kPrintMargin, kPrintMargin,
                                  kPrintMargin, fileName)) {
      case Host::PrintResult::Printed:
        return true;
      case Host::PrintResult::Cancelled:
        // The user backed out of the printer dialog: nothing printed, and
        // the window stays for another try or Cancel.
        return false;
      case Host::PrintResult::Failed:
        break;
    }
  } catch (...) {
  }
  FilesBeep(S);
  StatusLine = "Unable to print";
  return false;
}

}  // namespace qv
