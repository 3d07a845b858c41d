// Everything modal or system-wide that the program's logic needs from the
// desktop: sounds, message boxes, file and directory dialogs, the clipboard,
// the mouse pointer, the browser and help viewer, printing, the main window's
// menus and labels, and modal forms. The application implements it on Qt; the
// tests use FakeHost, which records and answers from a script.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogRequest {
  std::string title;
  std::string filter;       // "Proofs (*.proof)|*.proof" style: description|pattern pairs
  std::string initialDir;
  std::string fileName;     // suggested name (save) or "" (open)
  std::string defaultExt;   // appended by Save when the name has none, without the dot
  bool mustExist = false;   // Open: the file must exist
  bool promptOverwrite = false;  // Save: ask before replacing a file
};

class Host {
 public:
  virtual ~Host() = default;

  virtual void Beep() = 0;

  // defaultButton is 1-based among the buttons shown (1 = first).
  virtual MsgResult MessageBox(const std::string& text, const std::string& title,
                               MsgButtons buttons = MsgButtons::Ok,
                               MsgIcon icon = MsgIcon::None, int defaultButton = 1) = 0;

  // Return the chosen path, or "" when the user cancelled.
  virtual std::string OpenFileDialog(const FileDialogRequest& req) = 0;
  virtual std::string SaveFileDialog(const FileDialogRequest& req) = 0;
  virtual std::string ChooseDirectory(const std::string& title, const std::string& initialDir) = 0;

  // Clipboard. Rich text is whatever RichBox::RichText() produced for the selection.
  virtual void SetClipboard(const std::string& plain, const std::string& rich) = 0;
  virtual std::string ClipboardText() = 0;
  virtual std::string ClipboardRich() = 0;

  // Hourglass pointer on or off.
  virtual void SetWaitCursor(bool on) = 0;

  virtual void OpenUrl(const std::string& url) = 0;
  // Opens the help file; returns false when it cannot be shown.
  virtual bool OpenHelp(const std::string& path) = 0;

  // The main window's controls, named as the program names them
  // ("optUndo", "cmdUndo", "optFile1", "bar6", "InsertLineLabel", ...).
  virtual void SetControlEnabled(const std::string& name, bool enabled) = 0;
  virtual void SetControlVisible(const std::string& name, bool visible) = 0;
  virtual void SetControlChecked(const std::string& name, bool checked) = 0;
  virtual void SetControlCaption(const std::string& name, const std::string& caption) = 0;
  virtual bool ControlEnabled(const std::string& name) const = 0;
  virtual bool ControlVisible(const std::string& name) const = 0;
  virtual bool ControlChecked(const std::string& name) const = 0;
  virtual std::string ControlCaption(const std::string& name) const = 0;
  virtual void SetWindowTitle(const std::string& title) = 0;
  virtual std::string WindowTitle() const = 0;
  // File names are in the file system's encoding, the program's own texts
  // Latin-1; these show each as it is meant.
  // A title that ends in a file name: WindowTitle() gives Text + FileName.
  virtual void SetFileWindowTitle(const std::string& Text, const std::string& FileName) {
    SetWindowTitle(Text + FileName);
  }
  // A menu item whose caption is a file name (a recent file), every
  // character shown as it is ("&" included); ControlCaption gives it back.
  virtual void SetFileItemCaption(const std::string& name, const std::string& FileName) {
    SetControlCaption(name, FileName);
  }
  // Enables or disables the whole main window (during a long redraw or save).
  virtual void SetMainEnabled(bool enabled) = 0;

  // Shows a named modal form and returns when it has hidden itself.
  // Forms register themselves with RegisterForm; an unknown name returns false.
  using FormRunner = std::function<void()>;
  virtual void RegisterForm(const std::string& name, FormRunner run) = 0;
  virtual bool ShowModal(const std::string& name) = 0;

  // Prints a RichBox snapshot (RichBox::RichText()) on pages with the given
  // margins in twips (1440 to the inch). The user picks the printer (or a
  // file) in the system's print dialog. The text from the 0-based position
  // FileNameFrom to its end, when not -1, is a file name.
  enum class PrintResult { Printed, Cancelled, Failed };
  virtual PrintResult PrintRichText(const std::string& rich, int leftTwips, int topTwips,
                                    int rightTwips, int bottomTwips, int32_t FileNameFrom = -1) = 0;

  // Paints pending changes of the windows (used while the pointer is the
  // hourglass) without handling any input or queued call.
  virtual void ProcessEvents() {}
};

}  // namespace qv
