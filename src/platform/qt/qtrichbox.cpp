// The rich-text box on screen: a QTextEdit that mirrors a MemRichBox.
#include "platform/qt/qtrichbox.h"
#include "platform/qt/inputstate.h"
#include "platform/qt/latin1.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <unordered_map>

namespace qv {

namespace {

// Where the logical font name of a character lives in its QTextCharFormat.
constexpr int kLogicalFontProperty = QTextFormat::UserProperty + 1;

// The classic symbol font puts Greek letters on the Latin keys.
constexpr char16_t kSymbolLower[26] = {
    u'\u03B1', u'\u03B2', u'\u03C7', u'\u03B4', u'\u03B5', u'\u03C6', u'\u03B3', u'\u03B7', u'\u03B9',
    u'\u03D5', u'\u03BA', u'\u03BB', u'\u03BC', u'\u03BD', u'\u03BF', u'\u03C0', u'\u03B8', u'\u03C1',
    u'\u03C3', u'\u03C4', u'\u03C5', u'\u03D6', u'\u03C9', u'\u03BE', u'\u03C8', u'\u03B6'};
constexpr char16_t kSymbolUpper[26] = {
    u'\u0391', u'\u0392', u'\u03A7', u'\u0394', u'\u0395', u'\u03A6', u'\u0393', u'\u0397', u'\u0399',
    u'\u03D1', u'\u039A', u'\u039B', u'\u039C', u'\u039D', u'\u039F', u'\u03A0', u'\u0398', u'\u03A1',
    u'\u03A3', u'\u03A4', u'\u03A5', u'\u03C2', u'\u03A9', u'\u039E', u'\u03A8', u'\u0396'};

// The tag font's pictures that the program uses: the arrows on the digit keys
// and the tick and cross.
struct TagGlyph {
  char key;
  char16_t shown;
};
constexpr TagGlyph kTagGlyphs[] = {{'3', u'\u25C0'}, {'4', u'\u25B6'}, {'5', u'\u25B2'},
                                   {'6', u'\u25BC'}, {'a', u'\u2713'}, {'r', u'\u2715'}};

bool IsSymbol(const std::string& font) { return font == kSymbolFont; }
bool IsTag(const std::string& font) { return font == kTagFont; }

bool IsFixedPitchName(const std::string& font) {
  std::string f;
  for (char c : font) f += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* n : {"courier", "mono", "consol", "lucida console", "terminal", "fixedsys"})
    if (f.find(n) != std::string::npos) return true;
  return false;
}

QString InstalledOr(const QString& preferred, QFontDatabase::SystemFont fallback) {
  static const QStringList families = QFontDatabase::families();
  if (families.contains(preferred)) return preferred;
  return QFontDatabase::systemFont(fallback).family();
}

Qt::Alignment ToQtAlign(Align a) {
  switch (a) {
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

Align FromQtAlign(Qt::Alignment a) {
  if (a & Qt::AlignHCenter) return Align::Centre;
  if (a & Qt::AlignRight) return Align::Right;
  return Align::Left;
}

}  // namespace

// ---------------------------------------------------------------- mapping

QChar QtRichBox::DisplayChar(char c, const std::string& font) {
  if (IsSymbol(font)) {
    if (c >= 'a' && c <= 'z') return QChar(kSymbolLower[c - 'a']);
    if (c >= 'A' && c <= 'Z') return QChar(kSymbolUpper[c - 'A']);
  } else if (IsTag(font)) {
    for (const TagGlyph& g : kTagGlyphs)
      if (g.key == c) return QChar(g.shown);
  }
  return QChar::fromLatin1(c);
}

char QtRichBox::LogicalChar(QChar shown, const std::string& font) {
  char16_t u = shown.unicode();
  if (u < 0x100) return static_cast<char>(u);
  if (IsSymbol(font)) {
    for (int i = 0; i < 26; ++i) {
      if (kSymbolLower[i] == u) return static_cast<char>('a' + i);
      if (kSymbolUpper[i] == u) return static_cast<char>('A' + i);
    }
  } else if (IsTag(font)) {
    for (const TagGlyph& g : kTagGlyphs)
      if (g.shown == u) return g.key;
  }
  return '?';
}

QString QtRichBox::DisplayFamily(const std::string& font) {
  static const QString sans = InstalledOr("DejaVu Sans", QFontDatabase::GeneralFont);
  static const QString mono = InstalledOr("DejaVu Sans Mono", QFontDatabase::FixedFont);
  // Symbol characters stand among fixed-pitch formulas: keep the columns when
  // the fixed-pitch family has the Greek letters.
  static const bool monoHasGreek = QFontMetrics(QFont(mono)).inFontUcs4(0x03B5);
  if (IsSymbol(font)) return monoHasGreek ? mono : sans;
  return IsFixedPitchName(font) ? mono : sans;
}

QTextCharFormat QtRichBox::ToQt(const CharFormat& f) const {
  QTextCharFormat q;
  q.setFontFamilies(QStringList{DisplayFamily(f.font)});
  q.setFontFixedPitch(IsFixedPitchName(f.font));
  q.setFontPointSize(f.size);
  q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  q.setForeground(QColor(f.color & 0xFF, (f.color >> 8) & 0xFF, (f.color >> 16) & 0xFF));
  q.setProperty(kLogicalFontProperty, QString::fromLatin1(f.font.c_str()));
  return q;
}

CharFormat QtRichBox::FromQt(const QTextCharFormat& q) const {
  CharFormat f = model_.DefaultFormat();
  if (q.hasProperty(kLogicalFontProperty))
    f.font = FromLatin1(q.stringProperty(kLogicalFontProperty));
  if (q.fontPointSize() > 0) f.size = std::max(1, static_cast<int>(q.fontPointSize() + 0.5));
  f.bold = q.fontWeight() >= QFont::DemiBold;
  if (q.foreground().style() != Qt::NoBrush) {
    QColor c = q.foreground().color();
    f.color = RgbOf(c.red(), c.green(), c.blue());
  }
  return f;
}

int QtRichBox::QtPos(int32_t pos) const {
  const QTextDocument* doc = document();
  // The last block whose start, counted in text positions (each earlier break
  // is two characters there, one here), is at or before pos.
  int lo = 0, hi = doc->blockCount() - 1;
  while (lo < hi) {
    int mid = (lo + hi + 1) / 2;
    if (doc->findBlockByNumber(mid).position() + mid <= pos)
      lo = mid;
    else
      hi = mid - 1;
  }
  QTextBlock b = doc->findBlockByNumber(lo);
  int offset = std::max(0, pos - (b.position() + lo));
  return b.position() + std::min(offset, b.length() - 1);
}

int32_t QtRichBox::TextPos(int qtPos) const {
  QTextBlock b = document()->findBlock(qtPos);
  if (!b.isValid()) b = document()->lastBlock();
  return qtPos + b.blockNumber();
}

// ---------------------------------------------------------------- life

QtRichBox::QtRichBox(QWidget* parent) : QTextEdit(parent) {
  document()->setUndoRedoEnabled(false);
  setUndoRedoEnabled(false);
  setAcceptRichText(false);
  setAcceptDrops(false);
  batchCursor_ = QTextCursor(document());
  connect(document(), &QTextDocument::contentsChange, this, &QtRichBox::OnContentsChange);
  RenderAll();
}

QtRichBox::~QtRichBox() {
  // A box being destroyed reports nothing: its window, whose slots may use
  // objects already gone, is on its way out too. Ending an open edit below,
  // and the text edit's own teardown, would otherwise announce a change.
  blockSignals(true);
  document()->blockSignals(true);
  if (batchOpen_) {
    applying_ = true;
    batchCursor_.endEditBlock();
  }
}

void QtRichBox::SetViewOnly(bool on) {
  setReadOnly(on);
  if (on) setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void QtRichBox::BeginOp() {
  SyncSelection();
  if (!batchOpen_) {
    batchOpen_ = true;
    batchCursor_.beginEditBlock();
    QTimer::singleShot(0, this, [this] { Flush(); });
  }
  selDirty_ = true;
}

void QtRichBox::EndBatch() {
  if (!batchOpen_) return;
  batchOpen_ = false;
  applying_ = true;
  batchCursor_.endEditBlock();
  applying_ = false;
}

void QtRichBox::Flush() {
  EndBatch();
  if (!selDirty_) return;
  selDirty_ = false;
  int a = QtPos(model_.SelStart());
  int b = QtPos(model_.SelStart() + model_.SelLength());
  QTextCursor c(document());
  c.setPosition(a);
  c.setPosition(b, QTextCursor::KeepAnchor);
  applying_ = true;
  setTextCursor(c);
  if (model_.SelLength() == 0) setCurrentCharFormat(ToQt(model_.SelFormat()));
  applying_ = false;
  lastAnchor_ = a;
  lastPos_ = b;
}

void QtRichBox::SetUpdatesEnabled(bool on) {
  updatesOff_ = std::max(0, updatesOff_ + (on ? -1 : 1));
  if (updatesOff_ == 0) Flush();
  viewport()->setUpdatesEnabled(updatesOff_ == 0);
}

bool QtRichBox::event(QEvent* e) {
  if (batchOpen_ || selDirty_) Flush();
  return QTextEdit::event(e);
}

bool QtRichBox::viewportEvent(QEvent* e) {
  if (batchOpen_ || selDirty_) Flush();
  // A disabled box drops mouse events, but a release must still end the
  // press it belongs to: else the next click would count as the end of a
  // double click and raise no click.
  if (e->type() == QEvent::MouseButtonRelease && !isEnabled())
    EndPress(*this, inDoubleClick_, *static_cast<QMouseEvent*>(e), false);
  return QTextEdit::viewportEvent(e);
}

void QtRichBox::SyncSelection() const {
  if (batchOpen_ || selDirty_) return;  // the model holds the newer selection
  QTextCursor c = textCursor();
  if (c.anchor() == lastAnchor_ && c.position() == lastPos_) return;
  lastAnchor_ = c.anchor();
  lastPos_ = c.position();
  // A caret moved by the user also drops a caret format that was not used.
  int32_t a = TextPos(c.selectionStart()), b = TextPos(c.selectionEnd());
  model_.SetSelStart(a);
  model_.SetSelLength(b - a);
}

// ---------------------------------------------------------------- rendering

void QtRichBox::InsertRange(QTextCursor& c, int32_t from, int32_t to) {
  const std::string& text = model_.TextRef();
  QString run;
  for (int32_t i = from; i < to;) {
    const CharFormat& f = model_.FormatAt(i);
    int32_t j = i;
    run.clear();
    while (j < to && model_.FormatAt(j) == f) {
      char ch = text[j];
      if (ch == '\n')
        run += QChar('\n');  // insertText makes it a paragraph separator
      else if (ch != '\r')
        run += DisplayChar(ch, f.font);
      ++j;
    }
    if (!run.isEmpty()) c.insertText(run, ToQt(f));
    i = j;
  }
}

void QtRichBox::ApplyAlignment(int32_t from, int32_t to) {
  QTextDocument* doc = document();
  QTextBlock b = doc->findBlock(QtPos(from));
  QTextBlock last = doc->findBlock(QtPos(to));
  if (!b.isValid()) return;
  while (true) {
    int32_t start = b.position() + b.blockNumber();
    Qt::Alignment want = ToQtAlign(model_.ParagraphAlign(start));
    if ((b.blockFormat().alignment() & Qt::AlignHorizontal_Mask) != want) {
      QTextCursor c(b);
      QTextBlockFormat bf = b.blockFormat();
      bf.setAlignment(want);
      c.setBlockFormat(bf);
    }
    if (b == last || !b.next().isValid()) break;
    b = b.next();
  }
}

void QtRichBox::RenderAll() {
  BeginOp();
  applying_ = true;
  QTextCursor c(document());
  c.select(QTextCursor::Document);
  c.removeSelectedText();
  c.setBlockFormat(QTextBlockFormat());
  c.setCharFormat(ToQt(model_.DefaultFormat()));
  InsertRange(c, 0, model_.TextLength());
  ApplyAlignment(0, model_.TextLength());
  applying_ = false;
}

void QtRichBox::RestyleRange(int32_t from, int32_t to) {
  QTextCursor c(document());
  for (int32_t i = from; i < to;) {
    const CharFormat& f = model_.FormatAt(i);
    int32_t j = i + 1;
    while (j < to && model_.FormatAt(j) == f) ++j;
    c.setPosition(QtPos(i));
    c.setPosition(QtPos(j), QTextCursor::KeepAnchor);
    c.setCharFormat(ToQt(f));
    i = j;
  }
}

void QtRichBox::RedrawGlyphs(const std::vector<int32_t>& positions) {
  QTextCursor c(document());
  for (int32_t k : positions) {
    const CharFormat& f = model_.FormatAt(k);
    int q = QtPos(k);
    c.setPosition(q);
    c.setPosition(q + 1, QTextCursor::KeepAnchor);
    c.insertText(QString(DisplayChar(model_.TextRef()[k], f.font)), ToQt(f));
  }
}

// ---------------------------------------------------------------- user edits

void QtRichBox::OnContentsChange(int, int removed, int added) {
  if (applying_) return;
  if (removed == 0 && added == 0) return;
  ResyncFromDocument();
}

void QtRichBox::ResyncFromDocument() {
  RichDoc doc;
  QString shownExpected, shown;
  CharFormat last = model_.DefaultFormat();
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    Align align = FromQtAlign(b.blockFormat().alignment());
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      QTextFragment frag = it.fragment();
      CharFormat f = FromQt(frag.charFormat());
      f.align = align;
      QString s = frag.text();
      std::string logical;
      logical.reserve(s.size());
      for (QChar ch : s) {
        char c = LogicalChar(ch, f.font);
        logical += c;
        shownExpected += DisplayChar(c, f.font);
      }
      shown += s;
      doc.text += logical;
      doc.runs.push_back({static_cast<int32_t>(logical.size()), f});
      last = f;
    }
    if (b.next().isValid()) {
      doc.text += "\r\n";
      last.align = align;
      doc.runs.push_back({2, last});
    } else {
      doc.tailAlign = align;
    }
  }
  QTextCursor c = textCursor();
  lastAnchor_ = c.anchor();
  lastPos_ = c.position();
  doc.selStart = TextPos(c.selectionStart());
  doc.selLength = TextPos(c.selectionEnd()) - doc.selStart;
  model_.SetDoc(doc);
  // A typed character the box cannot hold (outside Latin-1) or one typed in
  // the symbol font shows differently from what the model holds: redraw it
  // once the widget has finished its own edit.
  if (shown != shownExpected && !resyncPending_) {
    resyncPending_ = true;
    QTimer::singleShot(0, this, [this] {
      resyncPending_ = false;
      RenderAll();
      Flush();
    });
  }
}

// ---------------------------------------------------------------- RichBox

std::string QtRichBox::Text() const {
  SyncSelection();
  return model_.Text();
}

int32_t QtRichBox::TextLength() const { return model_.TextLength(); }

void QtRichBox::SetText(const std::string& text) {
  BeginOp();
  model_.SetText(text);
  RenderAll();
}

int32_t QtRichBox::SelStart() const {
  SyncSelection();
  return model_.SelStart();
}

int32_t QtRichBox::SelLength() const {
  SyncSelection();
  return model_.SelLength();
}

void QtRichBox::SetSelStart(int32_t pos) {
  BeginOp();
  model_.SetSelStart(pos);
}

void QtRichBox::SetSelLength(int32_t len) {
  BeginOp();
  model_.SetSelLength(len);
}

std::string QtRichBox::SelText() const {
  SyncSelection();
  return model_.SelText();
}

void QtRichBox::ReplaceSelection(const std::string& data, bool rich) {
  BeginOp();
  auto [a, b] = model_.EditRange();
  int qa = QtPos(a), qb = QtPos(b);
  if (rich)
    model_.SetSelRichText(data);
  else
    model_.SetSelText(data);
  int32_t end = model_.SelStart();
  applying_ = true;
  QTextCursor c(document());
  c.setPosition(qa);
  c.setPosition(qb, QTextCursor::KeepAnchor);
  c.removeSelectedText();
  InsertRange(c, a, end);
  ApplyAlignment(a, end);
  applying_ = false;
}

void QtRichBox::SetSelText(const std::string& text) { ReplaceSelection(text, false); }
void QtRichBox::SetSelRichText(const std::string& snapshot) { ReplaceSelection(snapshot, true); }

template <class Op>
void QtRichBox::FormatOp(Op op) {
  BeginOp();
  op();
  if (model_.SelLength() == 0) return;  // a caret format: shown by Flush
  applying_ = true;
  RestyleRange(model_.SelStart(), model_.SelStart() + model_.SelLength());
  applying_ = false;
}

Rgb QtRichBox::SelColor() const {
  SyncSelection();
  return model_.SelColor();
}
void QtRichBox::SetSelColor(Rgb colour) {
  FormatOp([&] { model_.SetSelColor(colour); });
}
std::string QtRichBox::SelFontName() const {
  SyncSelection();
  return model_.SelFontName();
}
void QtRichBox::SetSelFontName(const std::string& name) {
  BeginOp();
  // The characters whose shown form changes with the font (letters entering
  // or leaving the symbol or tag font).
  std::vector<int32_t> changed;
  const int32_t from = model_.SelStart(), to = from + model_.SelLength();
  const std::string& text = model_.TextRef();
  for (int32_t k = from; k < to; ++k) {
    const std::string& old = model_.FormatAt(k).font;
    if ((IsSymbol(old) || IsTag(old) || IsSymbol(name) || IsTag(name)) &&
        DisplayChar(text[k], old) != DisplayChar(text[k], name))
      changed.push_back(k);
  }
  FormatOp([&] { model_.SetSelFontName(name); });
  applying_ = true;
  RedrawGlyphs(changed);
  applying_ = false;
}
int QtRichBox::SelFontSize() const {
  SyncSelection();
  return model_.SelFontSize();
}
void QtRichBox::SetSelFontSize(int points) {
  FormatOp([&] { model_.SetSelFontSize(points); });
}
bool QtRichBox::SelBold() const {
  SyncSelection();
  return model_.SelBold();
}
void QtRichBox::SetSelBold(bool bold) {
  FormatOp([&] { model_.SetSelBold(bold); });
}
Align QtRichBox::SelAlignment() const {
  SyncSelection();
  return model_.SelAlignment();
}
void QtRichBox::SetSelAlignment(Align align) {
  BeginOp();
  auto [a, b] = model_.AlignRange();
  model_.SetSelAlignment(align);
  applying_ = true;
  ApplyAlignment(a, b);
  applying_ = false;
}

void QtRichBox::SetDefaultFont(const std::string& name, int points) {
  model_.SetDefaultFont(name, points);
  QFont f(DisplayFamily(name));
  f.setPointSize(std::max(1, points));
  document()->setDefaultFont(f);
}

void QtRichBox::SetDefaultBold(bool bold) {
  model_.SetDefaultBold(bold);
  QFont f = document()->defaultFont();
  f.setBold(bold);
  document()->setDefaultFont(f);
}

std::string QtRichBox::RichText() const {
  SyncSelection();
  return model_.RichText();
}

void QtRichBox::SetRichText(const std::string& snapshot) {
  BeginOp();
  model_.SetRichText(snapshot);
  RenderAll();
}

std::string QtRichBox::SelRichText() const {
  SyncSelection();
  return model_.SelRichText();
}

int32_t QtRichBox::CharFromPoint(int x, int y) const {
  const_cast<QtRichBox*>(this)->Flush();
  QTextCursor c = cursorForPosition(QPoint(x, y));
  return TextPos(c.position());
}

// ---------------------------------------------------------------- events

void QtRichBox::keyPressEvent(QKeyEvent* e) {
  if (KeyTakenBySlots(*this, suppressKey_, *e)) return;
  // What the slots changed (a caret format for the typed character, say)
  // must be in the document before the widget types into it.
  Flush();
  // Shift+Enter would make a line break inside a paragraph, which the text
  // cannot hold apart from CR LF: it breaks the paragraph like Enter.
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::ShiftModifier)) {
    QKeyEvent plain(e->type(), e->key(), e->modifiers() & ~Qt::ShiftModifier, QStringLiteral("\r"));
    QTextEdit::keyPressEvent(&plain);
    return;
  }
  QTextEdit::keyPressEvent(e);
}

void QtRichBox::mousePressEvent(QMouseEvent* e) {
  QPoint p = e->position().toPoint();
  emit mousePressed(static_cast<int>(e->button()), static_cast<int>(e->modifiers()), p.x(), p.y());
  Flush();
  // A right press keeps the selection (the caller's context menu acts on it).
  if (e->button() == Qt::RightButton) {
    e->accept();
    return;
  }
  QTextEdit::mousePressEvent(e);
}

void QtRichBox::mouseMoveEvent(QMouseEvent* e) {
  QTextEdit::mouseMoveEvent(e);
  QPoint p = e->position().toPoint();
  emit mouseMoved(static_cast<int>(e->buttons()), static_cast<int>(e->modifiers()), p.x(), p.y());
}

void QtRichBox::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::RightButton) QTextEdit::mouseReleaseEvent(e);
  EndPress(*this, inDoubleClick_, *e, true);
}

void QtRichBox::mouseDoubleClickEvent(QMouseEvent* e) { StartDoubleClick(*this, inDoubleClick_, *e); }

void QtRichBox::contextMenuEvent(QContextMenuEvent* e) { e->accept(); }

bool QtRichBox::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasFormat(kRichMimeType) || source->hasText();
}

void QtRichBox::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly()) return;
  if (source->hasFormat(kRichMimeType))
    SetSelRichText(source->data(kRichMimeType).toStdString());
  else
    SetSelText(FromLatin1(source->text()));
  Flush();
}

QMimeData* QtRichBox::createMimeDataFromSelection() const {
  auto* m = new QMimeData;
  m->setText(Latin1(SelText()));
  std::string rich = SelRichText();
  m->setData(kRichMimeType, QByteArray(rich.data(), static_cast<qsizetype>(rich.size())));
  return m;
}

}  // namespace qv
