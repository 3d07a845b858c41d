// The formula editor shared by the entry, comment, subset and induction windows.
#include "entry/editor.h"

#include "view/view.h"
#include "platform/host.h"

namespace qv {

void ExprEditor::Beep() {
  if (S_.host) S_.host->Beep();
}

void ExprEditor::Snapshot() { S_.Ui.UndoRTF = box_.RichText(); }

// Before an edit that Undo can take back: the snapshot, Undo on, and Redo
// off (the comment editor leaves Redo as it was).
void ExprEditor::BeginUndoable() {
  Snapshot();
  UndoOn = true;
  if (kind_ != EditorKind::Comment) RedoOn = false;
}

void ExprEditor::Notation(const std::string& text, int advance) {
  if (kind_ == EditorKind::Comment) Snapshot();
  const int32_t p = box_.SelStart();
  box_.SetSelText(text);  // replaces the selection, if any
  box_.SetSelStart(p);
  box_.SetSelLength(static_cast<int32_t>(text.size()));
  box_.SetSelFontName(kEditorFont);
  if (kind_ == EditorKind::Comment) box_.SetSelColor(kCommentBlue);
  box_.SetSelStart(p + advance);
  if (kind_ == EditorKind::Comment) {
    UndoOn = true;
  } else {
    UndoOn = false;
  }
  box_.SetFocus();
}

void ExprEditor::InsertGlyph(bool blank) {
  const int32_t p = box_.SelStart();
  box_.SetSelText(blank ? "e " : "e");
  box_.SetSelStart(p);
  box_.SetSelLength(1);
  box_.SetSelFontName(kSymbolFont);
  if (blank) {
    box_.SetSelStart(p + 1);
    box_.SetSelLength(1);
    box_.SetSelFontName(kEditorFont);
  }
  box_.SetSelStart(p + 1);
  box_.SetSelFontName(kEditorFont);
  UndoOn = false;
  box_.SetFocus();
}

bool ExprEditor::KeyPress(char c) {
  UndoOn = false;
  RedoOn = false;
  if (kind_ != EditorKind::Comment && ParseMarked) {
    // The mark goes; the character is typed at the start of whatever the
    // check left selected, so it replaces nothing.
    ParseMarked = false;
    const int32_t p = box_.SelStart();
    box_.SetSelStart(0);
    box_.SetSelLength(box_.TextLength());
    box_.SetSelColor(kBlack);
    box_.SetSelStart(p);
  }
  if (c == '@') {
    // Only the entry window types the glyph without a blank after it.
    InsertGlyph(kind_ != EditorKind::Entry);
    return false;
  }
  box_.SetSelFontName(kEditorFont);
  if (kind_ == EditorKind::Comment) {
    box_.SetSelColor(kCommentBlue);
    box_.SetSelBold(false);
  }
  return true;
}

bool ExprEditor::KeyDown(int key, int mods) {
  if (mods == kModCtrl) {
    switch (key) {
      case 'A': InsertALL(); break;
      case 'E': InsertEXIST(); break;
      case 'X': Cut(); break;
      case 'C': Copy(); break;
      case 'V': Paste(); break;
      // Ctrl+Z follows the Undo item: with Undo off there is nothing of this
      // box to bring back.
      case 'Z': if (UndoOn) Undo(); break;
      case 'S': InsertSUM(); break;
      case 'P': InsertPROD(); break;
      default: break;
    }
    return true;
  }
  if (key == kKeyDelete) BeginUndoable();
  return false;
}

void ExprEditor::Undo() {
  if (!UndoOn) return;
  RedoRTF = box_.RichText();
  box_.SetRichText(S_.Ui.UndoRTF);
  UndoOn = false;
  RedoOn = true;
  box_.SetFocus();
}

void ExprEditor::Redo() {
  if (!RedoOn) return;
  box_.SetRichText(RedoRTF);
  UndoOn = true;
  RedoOn = false;
  box_.SetFocus();
}

// Cut and Delete: with nothing selected only a beep; otherwise the snapshot,
// and the selection goes (onto the clipboard first, for Cut).
void ExprEditor::RemoveSelection(bool toClipboard) {
  if (box_.SelLength() == 0) {
    Beep();
    box_.SetFocus();
    return;
  }
  BeginUndoable();
  if (toClipboard) CopySel(S_, box_);
  box_.SetSelText("");
  box_.SetFocus();
}

void ExprEditor::Cut() { RemoveSelection(true); }

void ExprEditor::Copy() { CopySel(S_, box_); }

void ExprEditor::Paste() {
  BeginUndoable();
  PasteInto(S_, box_);
  if (kind_ != EditorKind::Comment) ParseMarked = false;  // the paste repaints everything black
  box_.SetFocus();
}

void ExprEditor::Delete() {
  // The induction window does not test the selection: with nothing selected
  // the text stays as it is and Undo comes on all the same.
  if (kind_ == EditorKind::Induction) {
    BeginUndoable();
    if (box_.SelLength() > 0) box_.SetSelText("");
    box_.SetFocus();
    return;
  }
  RemoveSelection(false);
}

void ExprEditor::Clear() {
  BeginUndoable();
  box_.SetText("");
  box_.SetFocus();
}

void ExprEditor::MouseDown(int x, int y) {
  if (box_.SelLength() != 0) return;
  const int32_t idx = box_.CharFromPoint(x, y);
  if (idx >= 0) box_.SetSelStart(idx);
}

}  // namespace qv
