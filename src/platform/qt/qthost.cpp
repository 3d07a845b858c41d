// The Host on Qt: dialogs, clipboard, printing and the main window's controls.
#include "platform/qt/qthost.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "platform/qt/helpwindow.h"
#include "platform/qt/latin1.h"
#include "platform/qt/qtrichbox.h"

namespace qv {

namespace {

// Paths are handed to the program in the file system's own encoding.
std::string PathOut(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString PathIn(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

// A widget of the main window itself, not of a dialog parented to it.
bool BelongsTo(QObject* o, QWidget* main) {
  for (QObject* p = o->parent(); p; p = p->parent()) {
    if (p == main) return true;
    auto* w = qobject_cast<QWidget*>(p);
    if (w && w->isWindow() && !qobject_cast<QMenu*>(w)) return false;
  }
  return false;
}

}  // namespace

QString ToQtFilter(const std::string& filter) {
  if (filter.empty()) return {};
  QStringList parts = Latin1(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString desc = parts[i].trimmed();
    QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString("*");
    if (desc.isEmpty() && pattern.isEmpty()) continue;
    pattern.replace(';', ' ');
    pattern = pattern.simplified();
    if (pattern.isEmpty()) pattern = "*";
    if (desc.isEmpty()) desc = pattern;
    if (desc.endsWith("(" + pattern + ")"))
      out << desc;
    else
      out << desc + " (" + pattern + ")";
  }
  return out.join(";;");
}

QString ToDisplay(const std::string& text) {
  bool ascii = true;
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
  if (ascii) return Latin1(text);
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString s = utf8(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  return utf8.hasError() ? Latin1(text) : s;
}

void QtHost::Beep() { QApplication::beep(); }

MsgResult QtHost::MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                             MsgIcon icon, int defaultButton) {
  QMessageBox::Icon qicon = QMessageBox::NoIcon;
  switch (icon) {
    case MsgIcon::None: qicon = QMessageBox::NoIcon; break;
    case MsgIcon::Information: qicon = QMessageBox::Information; break;
    case MsgIcon::Warning: qicon = QMessageBox::Warning; break;
    case MsgIcon::Critical: qicon = QMessageBox::Critical; break;
    case MsgIcon::Question: qicon = QMessageBox::Question; break;
  }
  QList<QMessageBox::StandardButton> list;
  switch (buttons) {
    case MsgButtons::Ok: list = {QMessageBox::Ok}; break;
    case MsgButtons::OkCancel: list = {QMessageBox::Ok, QMessageBox::Cancel}; break;
    case MsgButtons::YesNo: list = {QMessageBox::Yes, QMessageBox::No}; break;
    case MsgButtons::YesNoCancel: list = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
  }
  QMessageBox::StandardButtons set;
  for (auto b : list) set |= b;
  QMessageBox box(qicon, ToDisplay(title), ToDisplay(text), set, main_);
  int d = std::clamp(defaultButton, 1, static_cast<int>(list.size()));
  box.setDefaultButton(list[d - 1]);
  switch (box.exec()) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
  }
}

std::string QtHost::FileDialog(const FileDialogRequest& req, bool save) {
  QFileDialog dlg(main_, ToDisplay(req.title), PathIn(req.initialDir), ToQtFilter(req.filter));
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save || !req.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save && !req.promptOverwrite) dlg.setOption(QFileDialog::DontConfirmOverwrite);
  if (!req.defaultExt.empty()) dlg.setDefaultSuffix(Latin1(req.defaultExt));
  if (!req.fileName.empty()) dlg.selectFile(PathIn(req.fileName));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return "";
  return PathOut(dlg.selectedFiles().first());
}

std::string QtHost::OpenFileDialog(const FileDialogRequest& req) { return FileDialog(req, false); }
std::string QtHost::SaveFileDialog(const FileDialogRequest& req) { return FileDialog(req, true); }

std::string QtHost::ChooseDirectory(const std::string& title, const std::string& initialDir) {
  QString dir = QFileDialog::getExistingDirectory(main_, ToDisplay(title), PathIn(initialDir));
  return dir.isEmpty() ? "" : PathOut(dir);
}

void QtHost::SetClipboard(const std::string& plain, const std::string& rich) {
  auto* data = new QMimeData;
  data->setText(Latin1(plain));
  if (!rich.empty()) data->setData(kRichMimeType, QByteArray(rich.data(), static_cast<qsizetype>(rich.size())));
  QApplication::clipboard()->setMimeData(data);
}

std::string QtHost::ClipboardText() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasText() ? FromLatin1(data->text()) : "";
}

std::string QtHost::ClipboardRich() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasFormat(kRichMimeType) ? data->data(kRichMimeType).toStdString() : "";
}

void QtHost::SetWaitCursor(bool on) {
  if (on == waitCursor_) return;
  waitCursor_ = on;
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtHost::OpenUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(Latin1(url))); }

HelpWindow* QtHost::Help() const { return help_; }

bool QtHost::OpenHelp(const std::string& path) {
  QString p = PathIn(path);
  if (!QFileInfo(p).isFile()) return false;
  // One window for the manual, closed with the main window.
  if (!help_) help_ = new HelpWindow(main_);
  help_->ShowPage(p);
  return true;
}

QObject* QtHost::FindControl(const std::string& name) const {
  if (!main_ || name.empty()) return nullptr;
  QString n = Latin1(name);
  for (QAction* a : main_->findChildren<QAction*>(n))
    if (BelongsTo(a, main_)) return a;
  for (QMenu* m : main_->findChildren<QMenu*>(n))
    if (BelongsTo(m, main_)) return m->menuAction();
  for (QWidget* w : main_->findChildren<QWidget*>(n))
    if (BelongsTo(w, main_)) return w;
  return nullptr;
}

void QtHost::SetControlEnabled(const std::string& name, bool enabled) {
  QObject* o = FindControl(name);
  if (auto* a = qobject_cast<QAction*>(o)) a->setEnabled(enabled);
  else if (auto* w = qobject_cast<QWidget*>(o)) w->setEnabled(enabled);
}

void QtHost::SetControlVisible(const std::string& name, bool visible) {
  QObject* o = FindControl(name);
  if (auto* a = qobject_cast<QAction*>(o)) a->setVisible(visible);
  else if (auto* w = qobject_cast<QWidget*>(o)) w->setVisible(visible);
}

void QtHost::SetControlChecked(const std::string& name, bool checked) {
  QObject* o = FindControl(name);
  if (auto* a = qobject_cast<QAction*>(o)) {
    a->setCheckable(true);
    a->setChecked(checked);
  } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
    b->setCheckable(true);
    b->setChecked(checked);
  }
}

std::string QtHost::Remembered(const std::string& key, const QString& shown) const {
  auto it = texts_.find(key);
  if (it != texts_.end() && it->second.second == shown) return it->second.first;
  bool latin1 = std::all_of(shown.begin(), shown.end(), [](QChar c) { return c.unicode() < 0x100; });
  return latin1 ? FromLatin1(shown) : shown.toUtf8().toStdString();
}

void QtHost::Remember(const std::string& key, const std::string& text, const QString& shown) {
  texts_[key] = {text, shown};
}

void QtHost::SetControlCaption(const std::string& name, const std::string& caption) {
  QObject* o = FindControl(name);
  QString text = ToDisplay(caption);
  if (o) Remember("control:" + name, caption, text);
  if (auto* a = qobject_cast<QAction*>(o)) a->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(o)) l->setText(text);
  else if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setText(text);
  else if (auto* e = qobject_cast<QLineEdit*>(o)) e->setText(text);
  else if (auto* g = qobject_cast<QGroupBox*>(o)) g->setTitle(text);
}

bool QtHost::ControlEnabled(const std::string& name) const {
  QObject* o = FindControl(name);
  if (auto* a = qobject_cast<QAction*>(o)) return a->isEnabled();
  if (auto* w = qobject_cast<QWidget*>(o)) return w->isEnabled();
  return false;
}

bool QtHost::ControlVisible(const std::string& name) const {
  QObject* o = FindControl(name);
  if (auto* a = qobject_cast<QAction*>(o)) return a->isVisible();
  if (auto* w = qobject_cast<QWidget*>(o)) return !w->isHidden();
  return false;
}

bool QtHost::ControlChecked(const std::string& name) const {
  QObject* o = FindControl(name);
  if (auto* a = qobject_cast<QAction*>(o)) return a->isChecked();
  if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->isChecked();
  return false;
}

std::string QtHost::ControlCaption(const std::string& name) const {
  QObject* o = FindControl(name);
  QString text;
  if (auto* a = qobject_cast<QAction*>(o)) text = a->text();
  else if (auto* l = qobject_cast<QLabel*>(o)) text = l->text();
  else if (auto* b = qobject_cast<QAbstractButton*>(o)) text = b->text();
  else if (auto* e = qobject_cast<QLineEdit*>(o)) text = e->text();
  else if (auto* g = qobject_cast<QGroupBox*>(o)) text = g->title();
  else return "";
  return Remembered("control:" + name, text);
}

void QtHost::SetWindowTitle(const std::string& title) {
  if (!main_) return;
  QString shown = ToDisplay(title);
  main_->setWindowTitle(shown);
  Remember("title", title, shown);
}

void QtHost::SetFileWindowTitle(const std::string& Text, const std::string& FileName) {
  if (!main_) return;
  const QString shown = Latin1(Text) + PathIn(FileName);
  main_->setWindowTitle(shown);
  Remember("title", Text + FileName, shown);
}

void QtHost::SetFileItemCaption(const std::string& name, const std::string& FileName) {
  QObject* o = FindControl(name);
  QString text = PathIn(FileName);
  // In a menu "&" marks the access key; a file name shows it as it is.
  if (qobject_cast<QAction*>(o)) text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  if (o) Remember("control:" + name, FileName, text);
  if (auto* a = qobject_cast<QAction*>(o)) a->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(o)) l->setText(text);
  else if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setText(text);
}

std::string QtHost::WindowTitle() const {
  return main_ ? Remembered("title", main_->windowTitle()) : "";
}

void QtHost::SetMainEnabled(bool enabled) {
  if (!main_) return;
  // Disabling a window takes the keyboard focus from the widget that holds
  // it, in the main window and in the windows it owns (the Find window stays
  // open while the proof changes): the focus goes back when it is enabled.
  if (!enabled && main_->isEnabled()) {
    focusBefore_.clear();
    QList<QWidget*> windows{main_};
    for (QWidget* w : main_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (w->isWindow() && w->isVisible()) windows.append(w);
    for (QWidget* w : windows)
      if (QWidget* f = w->focusWidget()) focusBefore_.emplace_back(w, f);
  }
  main_->setEnabled(enabled);
  if (!enabled) return;
  for (const auto& [window, focus] : focusBefore_)
    if (window && focus && !window->focusWidget() && focus->isEnabled()) focus->setFocus(Qt::OtherFocusReason);
  focusBefore_.clear();
}

bool QtHost::ShowModal(const std::string& name) {
  auto it = forms_.find(name);
  if (it == forms_.end() || !it->second) return false;
  FormRunner run = it->second;  // a copy: a form may register others while it runs
  run();
  return true;
}

Host::PrintResult QtHost::PrintRichText(const std::string& rich, int leftTwips, int topTwips,
                                        int rightTwips, int bottomTwips, int32_t FileNameFrom) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageMargins(QMarginsF(leftTwips / 1440.0, topTwips / 1440.0, rightTwips / 1440.0,
                                   bottomTwips / 1440.0),
                         QPageLayout::Inch);
  QPrintDialog dialog(&printer, main_);
  if (dialog.exec() != QDialog::Accepted) return PrintResult::Cancelled;
  return PrintSnapshot(rich, &printer, FileNameFrom) ? PrintResult::Printed : PrintResult::Failed;
}

std::unique_ptr<QTextDocument> SnapshotDocument(const std::string& rich, int32_t FileNameFrom) {
  QtRichBox box;
  box.SetRichText(rich);
  box.Flush();
  std::unique_ptr<QTextDocument> doc(box.document()->clone());
  const std::string text = box.Text();
  if (FileNameFrom >= 0 && static_cast<size_t>(FileNameFrom) < text.size()) {
    // The box holds the name's bytes one character each; give it back its
    // own characters, in the format of its first.
    QTextCursor c(doc.get());
    c.setPosition(box.QtPos(FileNameFrom));
    c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    const QTextCharFormat format = c.charFormat();
    c.setPosition(box.QtPos(FileNameFrom));
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.insertText(PathIn(text.substr(static_cast<size_t>(FileNameFrom))), format);
  }
  return doc;
}

bool PrintSnapshot(const std::string& rich, QPrinter* printer, int32_t FileNameFrom) {
  std::unique_ptr<QTextDocument> doc = SnapshotDocument(rich, FileNameFrom);
  doc->documentLayout()->setPaintDevice(printer);
  doc->setDocumentMargin(0);
  doc->setPageSize(printer->pageRect(QPrinter::DevicePixel).size());
  doc->print(printer);
  return printer->printerState() != QPrinter::Error;
}

void QtHost::ProcessEvents() {
  // Paints what has changed ("Please wait...", the disabled window) and
  // nothing else: no input, timer or queued call may run in the middle of
  // the change that asked for the paint.
  if (auto* status = qobject_cast<QtRichBox*>(FindControl("StatusLine"))) status->Flush();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

}  // namespace qv
