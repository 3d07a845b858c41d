// Host on Qt: message boxes, file dialogs, clipboard, pointer, browser,
// printing, and the controls of the main window found by object name.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <QTextDocument>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"

class QObject;
class QPrinter;

namespace qv {

class HelpWindow;

// "Proofs (*.proof)|*.proof|All|*.*" -> "Proofs (*.proof);;All (*.*)": the
// description|pattern pairs of a filter as Qt's name filters. Patterns
// separated by ";" become blank-separated; a description that already shows
// its pattern in brackets is kept as it is.
QString ToQtFilter(const std::string& filter);

// Text shown to the user: UTF-8 when it is valid UTF-8 with non-ASCII
// characters (file names), else Latin-1 (the document's own text).
QString ToDisplay(const std::string& text);

// A RichBox snapshot as a document with the screen box's fonts and glyphs;
// its text from FileNameFrom (0-based, -1 for none) to the end is a file
// name and shown as the file system spells it.
std::unique_ptr<QTextDocument> SnapshotDocument(const std::string& rich, int32_t FileNameFrom = -1);

// Lays a snapshot out on the printer's pages (inside its margins) and prints
// it. False on a printer error.
bool PrintSnapshot(const std::string& rich, QPrinter* printer, int32_t FileNameFrom = -1);

class QtHost : public Host {
 public:
  explicit QtHost(QWidget* mainWindow = nullptr) : main_(mainWindow) {}
  void SetMainWindow(QWidget* mainWindow) { main_ = mainWindow; }
  QWidget* MainWindow() const { return main_; }

  void Beep() override;
  MsgResult MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon icon, int defaultButton) override;
  std::string OpenFileDialog(const FileDialogRequest& req) override;
  std::string SaveFileDialog(const FileDialogRequest& req) override;
  std::string ChooseDirectory(const std::string& title, const std::string& initialDir) override;
  void SetClipboard(const std::string& plain, const std::string& rich) override;
  std::string ClipboardText() override;
  std::string ClipboardRich() override;
  void SetWaitCursor(bool on) override;
  void OpenUrl(const std::string& url) override;
  bool OpenHelp(const std::string& path) override;
  void SetControlEnabled(const std::string& name, bool enabled) override;
  void SetControlVisible(const std::string& name, bool visible) override;
  void SetControlChecked(const std::string& name, bool checked) override;
  void SetControlCaption(const std::string& name, const std::string& caption) override;
  bool ControlEnabled(const std::string& name) const override;
  bool ControlVisible(const std::string& name) const override;
  bool ControlChecked(const std::string& name) const override;
  std::string ControlCaption(const std::string& name) const override;
  void SetWindowTitle(const std::string& title) override;
  std::string WindowTitle() const override;
  void SetFileWindowTitle(const std::string& Text, const std::string& FileName) override;
  void SetFileItemCaption(const std::string& name, const std::string& FileName) override;
  void SetMainEnabled(bool enabled) override;
  void RegisterForm(const std::string& name, FormRunner run) override { forms_[name] = std::move(run); }
  bool ShowModal(const std::string& name) override;
  PrintResult PrintRichText(const std::string& rich, int leftTwips, int topTwips, int rightTwips,
                            int bottomTwips, int32_t FileNameFrom = -1) override;
  void ProcessEvents() override;

  // The manual's window, once Help has opened it.
  HelpWindow* Help() const;

  // The main window's action, menu (its action) or widget of that name, or nullptr.
  QObject* FindControl(const std::string& name) const;

 private:
  std::string FileDialog(const FileDialogRequest& req, bool save);

  // The exact bytes last given for a caption or the title, returned as they
  // were while the control still shows them (a recent file's caption is its
  // path, and a path must come back byte for byte).
  std::string Remembered(const std::string& key, const QString& shown) const;
  void Remember(const std::string& key, const std::string& text, const QString& shown);

  QPointer<QWidget> main_;
  std::map<std::string, FormRunner> forms_;
  std::map<std::string, std::pair<std::string, QString>> texts_;
  bool waitCursor_ = false;
  QPointer<HelpWindow> help_;
  // While the main window is disabled: each shown window of the program and
  // the widget that had its keyboard focus.
  std::vector<std::pair<QPointer<QWidget>, QPointer<QWidget>>> focusBefore_;
};

}  // namespace qv
