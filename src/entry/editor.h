// The formula editor behaviour shared by the statement entry window, the
// comment editor and the subset and induction windows: notation insertion,
// the element-of key, a one-level undo and redo, cut, copy, paste, delete and
// clear, and the Ctrl keys. It works on a RichBox, so it runs in tests
// without a display; the windows only forward their menu items, buttons,
// keys and mouse presses to it.
#pragma once

#include <string>

#include "document/state.h"
#include "platform/richbox.h"

namespace qv {

inline constexpr const char* kEditorFont = "Courier New";
inline constexpr Rgb kCommentBlue = RgbOf(0, 0, 150);

// Which window the editor serves; the windows differ in a few details (the
// blank after a typed glyph, what Delete does with nothing selected, the
// comment's colour and snapshots).
enum class EditorKind { Entry, Comment, Subset, Induction };

// Modifier bits passed with a key.
enum KeyMods : int { kModShift = 1, kModCtrl = 2, kModAlt = 4 };
// Key codes: letters are their upper-case character code; Delete is 46.
inline constexpr int kKeyDelete = 46;
inline constexpr char kKeyEsc = 27;

class ExprEditor {
 public:
  ExprEditor(AppState& S, RichBox& box, EditorKind kind) : S_(S), box_(box), kind_(kind) {}

  RichBox& Box() { return box_; }

  // State of the Undo and Redo menu items and buttons.
  bool UndoOn = false;
  bool RedoOn = false;
  std::string RedoRTF;
  // A check has painted the text (the entry and subset windows); the next
  // typed character repaints it black.
  bool ParseMarked = false;

  // Inserts a notation template, replacing the selection; the caret goes
  // `advance` characters after the insertion point.
  void Notation(const std::string& text, int advance);
  // The Element of item: the glyph at the caret, replacing the selection.
  void ElementOf() { InsertGlyph(false); }
  // The four templates reached by Ctrl+A, E, S, P and the notation menu.
  void InsertALL() { Notation("ALL():", 4); }
  void InsertEXIST() { Notation("EXIST():", 6); }
  void InsertSUM() { Notation("SUM(,,):", 4); }
  void InsertPROD() { Notation("PROD(,,):", 5); }

  // A typed character, before the box inserts it. Returns false when the
  // character is consumed here and must not reach the box.
  bool KeyPress(char c);
  // A key going down, before the box sees it. Returns true when the key is
  // taken from the box.
  bool KeyDown(int key, int mods);

  void Undo();
  void Redo();
  void Cut();
  void Copy();
  void Paste();
  void Delete();
  void Clear();

  // A mouse press at a point of the box (pixels): with nothing selected the
  // caret moves to the character under the pointer.
  void MouseDown(int x, int y);

 private:
  // The glyph, and with `blank` a blank after it in the editor's font; the
  // caret goes between the two.
  void InsertGlyph(bool blank);
  void Snapshot();
  void RemoveSelection(bool toClipboard);
  void BeginUndoable();
  void Beep();

  AppState& S_;
  RichBox& box_;
  EditorKind kind_;
};

}  // namespace qv
