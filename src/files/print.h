// Printing the proof or a range of its lines: the page text and the print
// window "PrintProof". Free of Qt; the window's widgets only mirror
// PrintProofForm, and the page goes to the printer through Host.
#pragma once

#include <cstdint>
#include <string>

#include "document/state.h"

namespace qv {

// The print window (PrintProof): the texts of its boxes for the first and
// the last line to print. The Print command fills them before showing the
// window; the window leaves what the user typed there.
struct PrintProofState {
  std::string Text1;
  std::string Text2;
};
inline PrintProofState& PrintProofOf(AppState& S) { return S.Windows.Get<PrintProofState>(); }

class RichBox;

// One inch on every side of the page, in twips.
inline constexpr int kPrintMargin = 1440;
// Longest line of the page text before it is broken at a blank.
inline constexpr int kPrintLineLen = 55;

// Word wrap: once a line has MaxLineLen characters, its first blank from
// there on becomes CR LF (a CR found first ends the line as it is). A line
// without blanks stays as long as it is; the last character is never
// replaced.
void InsertBreaks(std::string& Text, int MaxLineLen);
// Deletes every TAB.
void RemoveTabs(std::string& Text);
// Puts one TAB after every LF, so continued lines stay under their column.
void InsertTabs(std::string& Text);

// The line number a box's text stands for: the number the text begins with
// (leading blanks skipped; no number reads as 0), rounded half to even and
// held to the 16-bit range.
int LineNumberOf(const std::string& Text);

// Replaces Box's content with the page text of lines First..Last (both
// within 1..StmtCount): the caption in bold, the Introduction when First is
// 1, then each line's comment, number and formula and rule text, and the
// file name at the end; all black in the fixed font, with the element-of
// glyph shown in the proof's texts. Returns where the file name starts
// (0-based), -1 for an untitled proof.
int32_t BuildPrintText(const AppState& S, int First, int Last, RichBox& Box);

// The logic of the print window. The texts of its boxes Text1 and Text2 are
// PrintProofOf(S).Text1 and .Text2; everything else the window shows is here.
class PrintProofForm {
 public:
  explicit PrintProofForm(AppState& state) : S(state) {}

  std::string Caption = " Print Text ";
  bool AllStmts = false;          // ChkAllStmts
  bool RangeEnabled = true;       // Label1, Text1, Label2, Text2
  std::string StatusLine = "Status Line";
  int FromLine = 0;               // the range found in the boxes at activation
  int ToLine = 0;

  // The window is shown: reads the range its opener put into the boxes.
  void Activate();
  // "All Statements" was clicked (or set by the activation).
  void AllStmtsClicked(bool Checked);
  // The text of Text2 was changed by the user.
  void Text2Changed();
  // "Continue...": checks the range and prints. True when the window is to
  // hide (printed); false keeps it open with its message.
  bool Continue();

 private:
  AppState& S;
};

}  // namespace qv
