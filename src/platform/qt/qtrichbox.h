// The rich-text box on screen: a QTextEdit that shows a MemRichBox.
//
// The MemRichBox is the truth: every RichBox call is carried out on it and
// mirrored into the QTextDocument, and every read comes from it, so text,
// positions, formats and snapshots behave exactly as in the tests. What the
// user does in the widget (typing, moving the caret, selecting) is read back
// into it before the next call.
//
// The document holds one paragraph separator where the text has CR LF, so
// positions differ by the number of breaks before them; a caret between CR
// and LF shows at the end of its line. Characters of the symbol font are
// shown as Greek letters and those of the tag font as their pictures, one
// character for one, with the logical font name kept in a format property.
//
// Edits are gathered into one edit block of the document until control goes
// back to the event loop (or a call needs the layout), so a long run of calls
// costs no relayout between them.
#pragma once

#include <QTextEdit>
#include <string>

#include "platform/memrichbox.h"
#include "platform/richbox.h"

namespace qv {

// The clipboard's MIME type for a RichBox snapshot.
inline constexpr const char* kRichMimeType = "application/x-quorvane-rich";

class QtRichBox : public QTextEdit, public RichBox {
  Q_OBJECT
 public:
  explicit QtRichBox(QWidget* parent = nullptr);
  ~QtRichBox() override;

  // --- RichBox ---
  std::string Text() const override;
  void SetText(const std::string& text) override;
  int32_t TextLength() const override;
  int32_t SelStart() const override;
  void SetSelStart(int32_t pos) override;
  int32_t SelLength() const override;
  void SetSelLength(int32_t len) override;
  std::string SelText() const override;
  void SetSelText(const std::string& text) override;
  Rgb SelColor() const override;
  void SetSelColor(Rgb colour) override;
  std::string SelFontName() const override;
  void SetSelFontName(const std::string& name) override;
  int SelFontSize() const override;
  void SetSelFontSize(int points) override;
  bool SelBold() const override;
  void SetSelBold(bool bold) override;
  Align SelAlignment() const override;
  void SetSelAlignment(Align align) override;
  void SetDefaultFont(const std::string& name, int points) override;
  void SetDefaultBold(bool bold) override;
  std::string RichText() const override;
  void SetRichText(const std::string& snapshot) override;
  std::string SelRichText() const override;
  void SetSelRichText(const std::string& snapshot) override;
  int32_t CharFromPoint(int x, int y) const override;
  void SetFocus() override { setFocus(); }
  void SetEnabled(bool on) override { setEnabled(on); }
  void SetUpdatesEnabled(bool on) override;

  // A box that the user reads and selects in but does not type into.
  void SetViewOnly(bool on);
  // Called from a keyPressed slot: the box itself does nothing with the key.
  void SuppressKey() { suppressKey_ = true; }
  // Ends the pending edit block and shows the selection in the widget.
  void Flush();

  // Document position of a text position and back.
  int QtPos(int32_t pos) const;
  int32_t TextPos(int qtPos) const;

  // How a character of a font is shown, and the character a shown one stands for.
  static QChar DisplayChar(char c, const std::string& font);
  static char LogicalChar(QChar shown, const std::string& font);
  // The installed family that shows a logical font name.
  static QString DisplayFamily(const std::string& font);

 signals:
  // Coordinates are the box's own pixels (those CharFromPoint takes); buttons
  // and modifiers are Qt's values (left button 1, right button 2).
  void mousePressed(int button, int modifiers, int x, int y);
  void mouseMoved(int buttons, int modifiers, int x, int y);
  void mouseReleased(int button, int modifiers, int x, int y);
  // After the release of a left click; not after the release that ends a double click.
  void clicked();
  // On the second press of a double click; the box does not select a word.
  void doubleClicked();
  // Before the box handles a key; a slot may call SuppressKey(). `text` is
  // the typed character(s), empty for keys that type nothing.
  void keyPressed(int key, int modifiers, const QString& text);

 protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  void BeginOp();
  void EndBatch();
  // Brings the model's selection up to date with a caret the user moved.
  void SyncSelection() const;
  // Reads the whole document back into the model after the user edited it.
  void OnContentsChange(int pos, int removed, int added);
  void ResyncFromDocument();
  void RenderAll();
  // Inserts the model's characters [from, to) at the cursor.
  void InsertRange(QTextCursor& c, int32_t from, int32_t to);
  // Gives the document's characters [from, to) the model's formats.
  void RestyleRange(int32_t from, int32_t to);
  // Shows the model's character at each position again (after its font changed).
  void RedrawGlyphs(const std::vector<int32_t>& positions);
  void ApplyAlignment(int32_t from, int32_t to);
  void ReplaceSelection(const std::string& data, bool rich);
  template <class Op>
  void FormatOp(Op op);
  QTextCharFormat ToQt(const CharFormat& f) const;
  CharFormat FromQt(const QTextCharFormat& f) const;

  mutable MemRichBox model_;
  QTextCursor batchCursor_;
  bool batchOpen_ = false;
  bool applying_ = false;
  bool selDirty_ = false;
  bool resyncPending_ = false;
  int updatesOff_ = 0;
  mutable int lastAnchor_ = -1, lastPos_ = -1;  // the widget caret we last set or read
  bool suppressKey_ = false;
  bool inDoubleClick_ = false;
};

}  // namespace qv
