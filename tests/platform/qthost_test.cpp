#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>
#include <QFileInfo>

#include "platform/memrichbox.h"
#include "platform/qt/qthost.h"

namespace qv {
namespace {

TEST(QtHost, FiltersBecomeQtNameFilters) {
  EXPECT_EQ(ToQtFilter("Proofs (*.proof)|*.proof"), "Proofs (*.proof)");
  EXPECT_EQ(ToQtFilter("HTML|*.html|All files|*.*"), "HTML (*.html);;All files (*.*)");
  EXPECT_EQ(ToQtFilter("Text|*.txt;*.text"), "Text (*.txt *.text)");
  EXPECT_EQ(ToQtFilter("Lonely"), "Lonely (*)");
  EXPECT_EQ(ToQtFilter(""), "");
}

TEST(QtHost, ControlsAreFoundByObjectName) {
  QMainWindow w;
  QMenu* edit = w.menuBar()->addMenu("&Edit");
  edit->setObjectName("mnuEdit");
  QAction* undo = edit->addAction("&Undo");
  undo->setObjectName("optUndo");
  QAction* rich = edit->addAction("Rich Text Mode");
  rich->setObjectName("optRichTextMode");
  auto* label = new QLabel(&w);
  label->setObjectName("InsertLineLabel");
  w.setCentralWidget(label);
  // A dialog of the main window with a control of the same name is not the main window's.
  auto* dialog = new QDialog(&w);
  auto* other = new QLabel(dialog);
  other->setObjectName("optUndo");

  QtHost h(&w);
  h.SetControlEnabled("optUndo", false);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(h.ControlEnabled("optUndo"));
  EXPECT_TRUE(other->isEnabled());
  h.SetControlChecked("optRichTextMode", true);
  EXPECT_TRUE(rich->isChecked());
  EXPECT_TRUE(h.ControlChecked("optRichTextMode"));
  h.SetControlCaption("InsertLineLabel", "Insert before 3");
  EXPECT_EQ(label->text(), "Insert before 3");
  EXPECT_EQ(h.ControlCaption("optUndo"), "&Undo");
  h.SetControlVisible("mnuEdit", false);
  EXPECT_FALSE(edit->menuAction()->isVisible());
  EXPECT_FALSE(h.ControlVisible("mnuEdit"));
  // Unknown names are ignored.
  h.SetControlEnabled("optNothing", false);
  EXPECT_FALSE(h.ControlChecked("optNothing"));
  EXPECT_EQ(h.ControlCaption("optNothing"), "");

  // A caption that is a path comes back byte for byte, whatever its encoding.
  const std::string utf8Path = "/home/u/\xD0\xBF\xD1\x80\xD1\x83\xC3\xA9.proof";
  const std::string latin1Path = "/home/u/caf\xE9.proof";
  h.SetControlCaption("optUndo", utf8Path);
  EXPECT_EQ(undo->text(), QString::fromUtf8(utf8Path.c_str()));
  EXPECT_EQ(h.ControlCaption("optUndo"), utf8Path);
  h.SetControlCaption("optUndo", latin1Path);
  EXPECT_EQ(undo->text(), QString::fromLatin1(latin1Path.c_str()));
  EXPECT_EQ(h.ControlCaption("optUndo"), latin1Path);

  h.SetWindowTitle(" Quorvane 2.0  -  (Untitled)");
  EXPECT_EQ(w.windowTitle(), " Quorvane 2.0  -  (Untitled)");
  EXPECT_EQ(h.WindowTitle(), " Quorvane 2.0  -  (Untitled)");
}

TEST(QtHost, FormsRunWhenRegistered) {
  QtHost h;
  int runs = 0;
  h.RegisterForm("Comment", [&] { ++runs; });
  EXPECT_TRUE(h.ShowModal("Comment"));
  EXPECT_FALSE(h.ShowModal("Nothing"));
  EXPECT_EQ(runs, 1);
}

TEST(QtHost, ClipboardCarriesPlainAndRichText) {
  QtHost h;
  MemRichBox b;
  b.SetText("a e b");
  b.SetSelStart(2);
  b.SetSelLength(1);
  b.SetSelFontName(kSymbolFont);
  b.SetSelStart(0);
  b.SetSelLength(5);
  h.SetClipboard("a @ b\xE9", b.SelRichText());
  EXPECT_EQ(h.ClipboardText(), "a @ b\xE9");
  MemRichBox c;
  c.SetSelRichText(h.ClipboardRich());
  EXPECT_EQ(c.Text(), "a e b");
  c.SetSelStart(2);
  c.SetSelLength(1);
  EXPECT_EQ(c.SelFontName(), kSymbolFont);
  h.SetClipboard("plain only", "");
  EXPECT_EQ(h.ClipboardRich(), "");
}

TEST(QtHost, SnapshotPrintsOnPages) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  MemRichBox b;
  std::string text;
  for (int i = 1; i <= 150; ++i) text += std::to_string(i) + "  a @ b\r\n\r\n";
  b.SetText(text);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  QString file = dir.filePath("proof.pdf");
  printer.setOutputFileName(file);
  printer.setPageMargins(QMarginsF(1, 1, 1, 1), QPageLayout::Inch);
  EXPECT_TRUE(PrintSnapshot(b.RichText(), &printer));
  EXPECT_GT(QFileInfo(file).size(), 1000);
}

}  // namespace
}  // namespace qv
