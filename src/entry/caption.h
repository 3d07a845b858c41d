// The caption editor "EditCaption": the small window in which the user edits
// the proof's one-line caption (ProofCaption), shown in the window title and
// stored in the proof file. The logic is free of Qt; its window is in
// caption_qt.cpp.
#pragma once

#include <functional>
#include <string>

#include "document/state.h"
#include "platform/richbox.h"

class QWidget;

namespace qv {

class CommandRegistry;

// The form's name for Host::ShowModal and its window caption.
inline constexpr const char* kCaptionFormName = "EditCaption";
inline constexpr const char* kCaptionWindowCaption = "Edit Caption Line";
// The caption is plain text, shown in the window's own font.
inline constexpr const char* kCaptionFont = "MS Sans Serif";

class CaptionEditor {
 public:
  CaptionEditor(AppState& S, RichBox& box);

  // Called when the window hides itself.
  std::function<void()> OnHide;

  // Each time the window is shown: the box holds the present caption.
  void Activate();
  // Takes the box's text (trimmed) as the caption, sets the title and hides.
  // A caption longer than kMaxCaption is refused with a beep, the window
  // staying open.
  // A caption that differs from the old one marks the proof changed, so the
  // change is offered for saving like any other.
  void Continue();
  // Empties the box; the caption itself changes only with Continue.
  void Clear();
  // Hides; caption and title stay as they were.
  void Cancel();
  // Keys seen before the box: Esc cancels. True when the key was swallowed.
  bool FormKeyPress(char c);
  // Keys the box must not handle: Enter with any modifiers (the caption is
  // one line) and Ctrl+R (a paragraph command of rich-text boxes that a
  // one-line caption has no use for). KeyCode is kKeyEnter for either Enter
  // key, else the letter's upper-case code.
  static constexpr int kKeyEnter = 13;
  static bool DiscardKey(int KeyCode, bool Ctrl, bool Shift, bool Alt);

 private:
  AppState& S_;
  RichBox& box_;
};

// Edit > Caption: shows the caption editor modally. A failure beeps and shows
// "Unable to process request".
void optCaption_Click(AppState& S);

// Creates the caption editor's window on first use, registers it with the
// host under kCaptionFormName, and registers the optCaption command.
void InstallCaptionForm(AppState& S, CommandRegistry& commands, QWidget* owner);

}  // namespace qv
