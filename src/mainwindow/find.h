// Searching the proof: the Find window (not modal; the user may go on working
// in the proof while it is open) and Repeat Find. A hit counts only where it
// lies in the block of a statement shown in the view, and is shown by
// selecting it in the proof view. The logic here is free of Qt; the window
// is in find_qt.cpp.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "document/state.h"
#include "platform/richbox.h"

class QWidget;

namespace qv {

class CommandRegistry;

inline constexpr const char* kFindFormName = "Find";
inline constexpr const char* kFindCaption = " Find String or Heading";

// The four comment headings the window offers, in its order.
enum class FindHeading { None = -1, Define = 0, Prove, Sufficient, AsRequired };
// The text each heading puts into the search box.
const char* HeadingText(FindHeading h);

// What Find and Repeat Find share while the program runs: the last search
// and the window's direction and "Active statements only" box, which Repeat
// Find reads even while the window is hidden.
struct FindState {
  std::string FindText;    // the last search string, "@" for the element-of sign
  int32_t FindPos = 0;     // 1-based ProofText position of the next search; 0 before any
  bool Forward = true;
  bool ActiveOnly = false;
  // Hides the Find window (set by the window; a search that hits calls it).
  std::function<void()> Hide;
};

// The statement whose block takes the hit at ProofText position H (1-based),
// or 0: the first visible statement from line 1 whose block holds H; with
// ActiveOnly the lines of a closed sub-proof are passed over (its Conclusion
// is not).
int HitLine(const DocState& d, int32_t H, bool ActiveOnly);

// Repeat Find: continues the last search from FindPos in the window's
// direction; a hit is selected and the window hidden, anything else beeps.
void optRepeatFind_Click(AppState& S, FindState& F);

// The Find window's logic over its search box.
class FindForm {
 public:
  FindForm(AppState& S, FindState& F, RichBox& box);

  // The window's message line.
  std::string StatusLine;
  // The heading option that is selected, if any.
  FindHeading Heading = FindHeading::None;

  // Each activation: headings cleared, message emptied, the proof view's
  // selection as the search string, the focus in the box.
  void Activate();
  // "Find": searches the whole proof from its start (Forward) or end.
  void Find();
  // A heading option: its text becomes the search string.
  void ChooseHeading(FindHeading h);
  // "Paste": the clipboard at the box's selection, the caret before it.
  void Paste();
  // "Cancel" and Esc: hides the window.
  void Cancel();
  // Keys seen by the window before its controls: Esc cancels. True when taken.
  bool FormKeyPress(char c);
  // A key going down in the search box: true when it must not reach the box
  // (any key with the Ctrl modifier alone). Every key empties the message.
  bool KeyDown(bool Ctrl, bool Shift, bool Alt);
  // A character typed in the search box: false when it is handled here (Enter
  // searches, "@" puts in the element-of glyph) and must not reach the box.
  bool KeyPress(char c);

 private:
  void Beep();
  AppState& S_;
  FindState& F_;
  RichBox& box_;
};

// Edit > Find: returns the command that shows the Find window without making
// it modal, creating it on first use as a child of `owner`; the window is only
// hidden afterwards, so its controls keep their state. Without an owner the
// command only beeps. When the owner is the program's main window, the Find
// window's input waits in its input gate and its commands run as the main
// window's handlers do.
std::function<void()> FindWindowOpener(AppState& S, std::shared_ptr<FindState> F, QWidget* owner);

// Registers optFind and optRepeatFind, which share one FindState.
void RegisterFindCommands(AppState& S, CommandRegistry& commands, QWidget* owner);

}  // namespace qv
