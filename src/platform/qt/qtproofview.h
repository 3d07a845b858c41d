// The proof view on screen: a read-only rich-text box that lays out and
// paints only the lines in sight, straight from the MemRichBox that holds
// its contents.
//
// The MemRichBox is the truth for text, formats and selection, exactly as in
// the tests; the widget keeps an index of its lines (the text between line
// breaks): where each starts, an upper bound of its width, and how many rows
// it takes at the view's width. A line wider than the view wraps, as prose
// does in the platform's rich-text box. A change of the text re-reads only
// the lines it touched; a change of the width re-wraps only the lines that
// could be wider than the view, and those only once they come into sight
// (until then their rows are estimated from the bound). All rows are as high
// as the tallest font in use, so the height index is a running sum of rows.
//
// One measure serves everything: the QTextLayout of a line (fractional
// advances, TABs to the next multiple of kTabWidth pixels) paints it, maps a
// point to a character, places the caret, paints the selection and moves the
// caret up and down. Characters of the symbol and tag fonts show as
// QtRichBox shows them.
//
// The user selects with the mouse (press, drag, Shift+click) and the keys
// (arrows, Ctrl+Left and Ctrl+Right by word, Home and End to the ends of the
// screen row, Page Up, Page Down, Ctrl+Home, Ctrl+End, with Shift to
// extend; Ctrl+A selects everything), never types. A press puts the caret
// before the character under the pointer; once the pointer has moved off
// the half of the character it was pressed on, the selection runs from the
// nearer edge of that character to the nearer edge of the one under the
// pointer, either way, as in the editors' boxes. Up and Down keep the
// caret's column in pixels; Page Up and Page Down scroll by a page and move
// the caret with it. The signals are those of QtRichBox, with the same
// meaning.
//
// A drag held past the view's right edge grows the selection by one
// character every 20 ms up to the end of its line, the line's continuation
// rows included, but not the line break itself (the editors' boxes stop
// before it too, and no caret ever stands between CR and LF). A drag held
// above or below the view scrolls it, the faster the farther out the
// pointer is, and the selection follows.
//
// Assistive technology reads the view through Qt's accessibility interface
// for text (qtproofaccess.cpp), as it reads a read-only QTextEdit: the text
// as shown, a line break as one character "\n", and offsets counted in that
// text; by screen row, and by word (a run of letters and digits). Changes
// of the text, the caret and the selection are announced while an
// accessibility client is active, and cost nothing otherwise; a client's
// move of the caret waits as a key does (SetClientMoves).
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <QTextLayout>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/memrichbox.h"
#include "platform/richbox.h"

class QFont;

namespace qv {

class QtProofView : public QAbstractScrollArea, public RichBox {
  Q_OBJECT
 public:
  explicit QtProofView(QWidget* parent = nullptr);
  ~QtProofView() override;

  static constexpr int kTabWidth = 80;  // pixels, as the platform's text boxes
  static constexpr int kMargin = 4;     // pixels around the text
  static constexpr int kDragTick = 20;  // ms between the characters a drag past the right edge adds

  // --- RichBox: every call is carried out on the model ---
  std::string Text() const override { return model_.Text(); }
  void SetText(const std::string& text) override;
  int32_t TextLength() const override { return model_.TextLength(); }
  int32_t SelStart() const override { return model_.SelStart(); }
  void SetSelStart(int32_t pos) override;
  int32_t SelLength() const override { return model_.SelLength(); }
  void SetSelLength(int32_t len) override;
  std::string SelText() const override { return model_.SelText(); }
  void SetSelText(const std::string& text) override;
  Rgb SelColor() const override { return model_.SelColor(); }
  void SetSelColor(Rgb colour) override;
  std::string SelFontName() const override { return model_.SelFontName(); }
  void SetSelFontName(const std::string& name) override;
  int SelFontSize() const override { return model_.SelFontSize(); }
  void SetSelFontSize(int points) override;
  bool SelBold() const override { return model_.SelBold(); }
  void SetSelBold(bool bold) override;
  Align SelAlignment() const override { return model_.SelAlignment(); }
  void SetSelAlignment(Align align) override;
  void SetDefaultFont(const std::string& name, int points) override;
  void SetDefaultBold(bool bold) override { model_.SetDefaultBold(bold); }
  std::string RichText() const override { return model_.RichText(); }
  void SetRichText(const std::string& snapshot) override;
  std::string SelRichText() const override { return model_.SelRichText(); }
  void SetSelRichText(const std::string& snapshot) override;
  void ReplaceRich(int32_t from, int32_t to, std::string_view text, const std::vector<CharFormat>& table,
                   std::span<const uint8_t> ids) override;
  bool OverwriteChars(int32_t from, std::string_view text) override;
  const MemRichBox* Model() const override { return &model_; }
  int32_t CharFromPoint(int x, int y) const override;
  void SetFocus() override { setFocus(); }
  void SetEnabled(bool on) override { setEnabled(on); }
  void SetUpdatesEnabled(bool on) override;

  // As QtRichBox: the view is always read-only, so this only records it.
  void SetViewOnly(bool on) { viewOnly_ = on; }
  void SuppressKey() { suppressKey_ = true; }
  // Runs the moves of the caret and the selection that an accessibility
  // client asks for; without a route they run at once. The main window
  // routes them through its input gate, so that such a move waits, as a
  // key does, behind input the program has not handled yet.
  void SetClientMoves(std::function<void(std::function<void()>)> route) { clientMoves_ = std::move(route); }
  // Brings the line index and scroll bars up to date, scrolls the caret into
  // sight after a change of the selection, and repaints.
  void Flush();

  // The viewport rectangle of the character at a text position (its row's
  // height, its own width; a zero width at a line's end).
  QRect CharRect(int32_t pos) const;
  // The line (text between line breaks) holding a text position, and the
  // number of lines; the height of a row.
  int LineOf(int32_t pos) const;
  int LineCount() const;
  int LineHeight() const;

 signals:
  void mousePressed(int button, int modifiers, int x, int y);
  void mouseMoved(int buttons, int modifiers, int x, int y);
  void mouseReleased(int button, int modifiers, int x, int y);
  void clicked();
  void doubleClicked();
  void keyPressed(int key, int modifiers, const QString& text);

 protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void changeEvent(QEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  friend class ProofViewAccessible;
  // Gives every proof view its accessibility interface (qtproofaccess.cpp).
  static void InstallAccessibility();
  // One line of the text (between line breaks) as the view shows it.
  struct Line {
    int32_t start = 0;  // its first position
    float bound = 0;    // its width unwrapped is at most this (pixels)
    float widest = 0;   // its widest row, once laid out
    int rows = 1;       // rows at the current width: estimated unless exact
    bool exact = true;
  };
  // A row of the view: the line and the row within it.
  struct Row {
    int line = 0, row = 0;
  };

  // After a change of the contents: [from, to) of the text before the change
  // was replaced (or reformatted); the line index is brought up to date on
  // the next Flush (queued), painting waits for it.
  void Changed(int32_t from, int32_t to, int32_t oldLength);
  void ChangedAll();
  // The format of the selection changed (nothing to show when it is empty).
  void FormatChanged();
  void SelectionChanged();
  void Schedule();
  // Re-reads the lines the changes since the last call touched.
  void Sync() const;
  void Measure(Line& line, int32_t end) const;
  void UpdateMetrics() const;
  // Re-wraps for a new width: only lines that may not fit lose their rows.
  void Rewrap(int width) const;
  int WrapWidth() const;
  void RebuildRows() const;
  int TotalRows() const;
  // Lays out the lines in sight whose rows were estimated; true when any
  // line's rows changed.
  bool LayOutInSight();
  void UpdateScrollBars();
  void EnsureCaretVisible() { EnsureVisible(caret_); }
  void EnsureVisible(int32_t pos);
  // The selection from anchor to caret, the caret's end being `caret`;
  // keepColumn keeps the column that Up and Down aim at; a drag does not
  // scroll to its caret (the pointer is there, or autoscrolling).
  void Select(int32_t anchor, int32_t caret, bool keepColumn = false, bool scroll = true);
  int32_t LineStart(int line) const;
  int32_t LineEnd(int line) const;  // before its CR LF
  // A position between CR and LF moves before the break.
  int32_t OutOfBreak(int32_t pos) const;
  const QFont& FontOf(uint32_t id) const;
  const QTextCharFormat& CharFormatOf(uint32_t id) const;
  void DropLayouts() const;
  // The layout of a line at the current width, made on first use; makes
  // the line's rows exact.
  const QTextLayout& LayoutOf(int line) const;
  int RowsOf(int line) const;
  // The row of the view holding a text position, and its QTextLine.
  Row RowOf(int32_t pos) const;
  QTextLine LineOfRow(Row r) const;
  // The row `delta` rows from r, within the text.
  Row Step(Row r, int delta) const;
  // The row at content y (pixels from the top of the text).
  Row RowAtY(qreal y) const;
  // The text position at content x on a row: the character whose box holds
  // x (onCharacter), or the caret position nearest to x.
  int32_t PosInRow(Row r, qreal x, bool onCharacter) const;
  int32_t PosAtPoint(QPointF viewportPoint, bool onCharacter) const;
  // Content x of the caret before pos, on the row holding pos.
  qreal XOf(int32_t pos) const;
  QPointF ContentOffset() const;  // viewport point of content (0, 0)
  void MoveRows(int rows, bool shift);
  // Where Home, End and Ctrl+Left, Ctrl+Right take the caret.
  int32_t RowStartOf(int32_t pos) const;
  int32_t RowEndOf(int32_t pos) const;
  int32_t WordLeftOf(int32_t pos) const;
  int32_t WordRightOf(int32_t pos) const;

  // The drag: the selection follows the pointer at a viewport point; the
  // timers that grow it past the right edge and scroll past the top or
  // bottom start and stop with the pointer's place.
  void DragTo(QPointF p);
  void UpdateDragTimers();
  void DragTick();
  void AutoScrollTick();
  void EndDrag();

  // Accessibility. Offsets of the text as shown (a line break one
  // character) for text positions and back, the text as shown of
  // [from, to), and the announcements of what changed since the last ones.
  int32_t AccessOffset(int32_t pos) const;
  int32_t AccessCount() const { return AccessOffset(model_.TextLength()); }
  int32_t PosOfAccess(int32_t offset) const;
  QString ShownText(int32_t from, int32_t to) const;
  void Announce();
  void AnnounceText();

  MemRichBox model_;
  mutable std::vector<Line> lines_;
  mutable std::vector<Line> fresh_;  // scratch of Sync
  mutable std::vector<int32_t> rowTop_;  // rows above each line; one more at the end
  mutable std::vector<QFont> fonts_;     // by the model's format index
  mutable std::vector<QTextCharFormat> charFormats_;  // the same, with its colour
  mutable std::vector<float> advanceBound_;  // widest character of each font
  mutable std::unordered_map<int, std::unique_ptr<QTextLayout>> layouts_;  // lines laid out
  mutable bool allDirty_ = true, rowsDirty_ = true;
  mutable int32_t keptHead_ = 0, keptTail_ = 0;  // text unchanged at either end since Sync
  mutable int32_t syncedLength_ = 0;
  mutable int wrapWidth_ = 0;
  mutable int lineHeight_ = 16;
  mutable qreal ascent_ = 12;
  mutable float widest_ = 0;
  mutable size_t measuredFormats_ = 0;
  int32_t anchor_ = 0, caret_ = 0;  // the selection's two ends as the user made it
  qreal goalX_ = -1;                // the column Up and Down keep, once set
  bool scheduled_ = false;
  bool scrollToCaret_ = false;
  int updatesOff_ = 0;
  bool viewOnly_ = true;
  bool suppressKey_ = false;
  bool inDoubleClick_ = false;
  bool selecting_ = false;
  std::function<void(std::function<void()>)> clientMoves_;

  // The press a drag starts from: the edge nearer to the pointer, and
  // whether the pointer has left the half of the character it was pressed on.
  int32_t pressEdge_ = 0;
  bool shiftPress_ = false, dragged_ = false;
  QPointF dragPos_;           // the pointer, in viewport pixels
  QTimer dragTimer_;          // grows the selection past the right edge
  QTimer autoScroll_;         // scrolls past the top or the bottom
  bool eolReached_ = false;   // the drag timer reached the line's end; again once the pointer is back
  int32_t grown_ = -1;        // where the drag timer took the caret, while the pointer stays out

  // What the accessibility clients were last told: the text as shown
  // (empty while none listens), the caret and the selection; the text
  // changed since then lies between accHead_ and accTail_ from either end.
  mutable std::vector<int32_t> crlfBefore_;  // CR LF breaks before each line
  mutable bool crlfDirty_ = true;
  QString accText_;
  bool accValid_ = false;
  bool accAll_ = true;
  int32_t accHead_ = 0, accTail_ = 0;
  int32_t accCaret_ = -1, accSelA_ = -1, accSelB_ = -1;
};

}  // namespace qv
