// The proof view on screen: a read-only rich-text box that paints only the
// lines in sight, straight from the MemRichBox that holds its contents.
//
// The MemRichBox is the truth for text, formats and selection, exactly as in
// the tests; the widget keeps only an index of where each line starts, so a
// change anywhere in a long proof costs the change in memory and the
// painting of one screen, never a layout of the whole text. Lines do not
// wrap (a horizontal scroll bar shows long ones); all lines are as high as
// the tallest font in use; a TAB advances to the next multiple of
// kTabWidth pixels. Characters of the symbol and tag fonts show as
// QtRichBox shows them.
//
// The user selects with the mouse (press, drag, Shift+click) and the keys
// (arrows, Home, End, Page Up, Page Down, Ctrl+Home, Ctrl+End, with Shift to
// extend; Ctrl+A selects everything), never types. The signals are those of
// QtRichBox, with the same meaning.
#pragma once

#include <QAbstractScrollArea>
#include <string>
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
  void ReplaceRich(int32_t from, int32_t to, const std::string& text, const std::vector<CharFormat>& table,
                   const std::vector<uint8_t>& ids) override;
  const MemRichBox* Model() const override { return &model_; }
  int32_t CharFromPoint(int x, int y) const override;
  void SetFocus() override { setFocus(); }
  void SetEnabled(bool on) override { setEnabled(on); }
  void SetUpdatesEnabled(bool on) override;

  // As QtRichBox: the view is always read-only, so this only records it.
  void SetViewOnly(bool on) { viewOnly_ = on; }
  void SuppressKey() { suppressKey_ = true; }
  // Brings the line index and scroll bars up to date, scrolls the caret into
  // sight after a change of the selection, and repaints.
  void Flush();

  // The viewport rectangle of the character at a text position (its line's
  // height, its own width; a zero width at a line's end).
  QRect CharRect(int32_t pos) const;
  // The line holding a text position, and the number of lines.
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
  void scrollContentsBy(int dx, int dy) override;

 private:
  // After the contents changed: the line index and metrics are rebuilt on
  // the next Flush (queued), painting waits for it.
  void Changed(bool formatsReset);
  void SelectionChanged();
  void Schedule();
  void RebuildLines() const;
  void UpdateScrollBars();
  void EnsureCaretVisible();
  // The selection from anchor to caret, the caret's end being `caret`.
  void Select(int32_t anchor, int32_t caret);
  int32_t LineStart(int line) const;
  int32_t LineEnd(int line) const;  // before its CR LF
  const QFont& FontOf(uint32_t id) const;
  // x (content pixels, before scrolling) of the caret before pos on its line.
  int XOf(int32_t pos) const;
  int32_t PosAtX(int line, int x) const;
  int32_t Caret() const { return caret_; }

  MemRichBox model_;
  mutable std::vector<int32_t> lineStarts_;
  mutable std::vector<QFont> fonts_;  // by the model's format index
  mutable bool linesDirty_ = true;
  mutable int lineHeight_ = 16, ascent_ = 12, maxWidth_ = 0;
  int32_t anchor_ = 0, caret_ = 0;  // the selection's two ends as the user made it
  bool scheduled_ = false;
  bool scrollToCaret_ = false;
  int updatesOff_ = 0;
  bool viewOnly_ = true;
  bool suppressKey_ = false;
  bool inDoubleClick_ = false;
  bool selecting_ = false;
};

}  // namespace qv
