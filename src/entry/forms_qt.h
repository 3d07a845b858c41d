// The Qt windows of the entry library: the statement entry window
// "TestParser", the comment editor "Comment" and the "Warning" box. Each only
// wires its controls to the Qt-free logic class; objects carry the control
// names the program uses, so tests find them with findChild.
#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>

#include "entry/comment.h"
#include "entry/testparser.h"
#include "entry/warning.h"

class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QAction;

namespace qv {

class QtRichBox;

// Forwards the box's keys and mouse presses to an ExprEditor and keeps the
// Undo and Redo controls in step with it. Every paste, by key, menu, button
// or the middle mouse button, goes through the editor's Paste, and the Edit
// items' keys are shortcuts of the window.
class EditorWiring : public QObject {
  Q_OBJECT
 public:
  EditorWiring(QWidget* window, QtRichBox* box, ExprEditor& editor, QMenu* editMenu,
               std::function<bool(char)> formKey);
  // Enables or disables the Undo and Redo items and buttons.
  void Sync();
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;
  QPushButton* undoButton = nullptr;
  QPushButton* redoButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QtRichBox* box_;
  ExprEditor& editor_;
  QMenu* editMenu_;
  std::function<bool(char)> formKey_;
};

// What the entry window and the comment editor share: the box wired to a
// formula editor, the Continue and Cancel buttons, Esc and the close box.
class EditorDialog : public QDialog {
 public:
  QtRichBox* Box() { return box_; }

 protected:
  EditorDialog(QWidget* parent, const char* name, const char* boxName);
  ~EditorDialog() override;
  // The window logic's close box and Esc.
  virtual void CloseBox() = 0;
  virtual void Escape() = 0;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;
  // Wires the box, its Edit menu and the Undo and Redo controls to `editor`;
  // formKey sees Esc first.
  void Wire(ExprEditor& editor, QMenu* edit, QAction* undo, QAction* redo, QPushButton* undoButton,
            QPushButton* redoButton, std::function<bool(char)> formKey);
  // Runs the window modally once its logic has been activated and shown.
  void Exec();

  QtRichBox* box_ = nullptr;
  std::unique_ptr<EditorWiring> wiring_;
  QPushButton* continue_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

class TestParserDialog : public EditorDialog {
  Q_OBJECT
 public:
  TestParserDialog(AppState& S, QWidget* parent);
  ~TestParserDialog() override;
  // Shows the window modally and returns when it has hidden itself.
  void RunModal();
  TestParser& Logic() { return *logic_; }

 protected:
  void CloseBox() override { logic_->QueryUnload(); }
  void Escape() override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void Refresh();
  std::unique_ptr<TestParser> logic_;
  QLabel* status_ = nullptr;
};

class CommentDialog : public EditorDialog {
  Q_OBJECT
 public:
  CommentDialog(AppState& S, QWidget* parent);
  ~CommentDialog() override;
  void RunModal();
  CommentEditor& Logic() { return *logic_; }

 protected:
  void CloseBox() override { logic_->QueryUnload(); }
  void Escape() override { logic_->Cancel(); }
  void resizeEvent(QResizeEvent* e) override;

 private:
  std::unique_ptr<CommentEditor> logic_;
};

class WarningDialog : public QDialog {
  Q_OBJECT
 public:
  WarningDialog(AppState& S, QWidget* parent);
  void RunModal();
  WarningBox& Logic() { return logic_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  WarningBox logic_;
  QLabel* label_ = nullptr;
  QPushButton* continue_ = nullptr;
};

}  // namespace qv
