// Replays the manual's examples through the program's commands, clicks and
// windows (scripted host, in-memory boxes), and compares what the program
// shows with the manual's text: each <pre class="example" id="..."> block
// with the proof at the moment the replay names it, each
// <span class="msg" id="..."> with the message the replay names.
//
// QV_MANUAL_WRITE=1 writes the program's texts into the pages instead (for
// the author of a new example); the comparison is what `make test` runs.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "document/state.h"
#include "mainwindow/maincommands.h"
#include "platform/commands.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"

namespace qv {

// One page of the manual: its marked blocks by id, text decoded (entities;
// line breaks as LF).
struct ManualPage {
  std::string file, html;
  std::map<std::string, std::string> marked;
};
ManualPage ReadManualPage(const std::string& name);

class ManualTest : public ::testing::Test {
 protected:
  ManualTest();
  ~ManualTest() override;
  void TearDown() override;

  // Replays page `name`: the test body runs the steps; at the end every
  // marked text of the page must have been compared.
  void Page(const std::string& name);

  // ---- the user's hand ----
  void Run(const std::string& command);
  // File > New, the unsaved proof dropped.
  void Fresh();
  // A premise or an axiom typed in the entry window.
  void Premise(const std::string& text);
  void Axiom(const std::string& text);
  // A click on line k's formula, `offset` characters in, or on the n-th
  // (1-based) occurrence of `text` in it.
  void Click(int k, int offset = 0);
  // (`inRule`: in its justification instead).
  void ClickOn(int k, const std::string& text, int n = 1, bool inRule = false);
  void ClickNumber(int k);
  void DoubleClickNumber(int k);
  // What the next entry window gets typed: each text in turn and Continue,
  // until the window closes; then Cancel.
  void WillType(std::vector<std::string> texts);
  // The same for the next input box.
  void WillAnswer(std::vector<std::string> texts);
  // The E Gen window: the bound variable, then a click on the n-th occurrence
  // of each text in the statement (none: Select All), then Continue.
  void WillGeneralize(const std::string& var, std::vector<std::pair<std::string, int>> clicks = {});
  // The Substitute window: Select All, then Continue.
  void WillSubstituteAll();
  // The deletion warning: Continue (true) or Cancel.
  void WillConfirmDelete(bool yes);
  // The comment editor: the text it is given, then Continue.
  void WillComment(const std::string& text);

  // ---- comparisons ----
  // What the proof view shows (from line `fromLine` on).
  void Shows(const std::string& id, int fromLine = 0);
  void Says(const std::string& id);       // the status line
  void EntrySays(const std::string& id);  // the entry window's last refusal
  void BoxSays(const std::string& id);    // the input box's last refusal
  void BoxCaption(const std::string& id); // the input box's caption
  void MessageSays(const std::string& id);// the last message box
  void Is(const std::string& id, const std::string& actual);
  // What the page says the user types (a <code class="typed">).
  std::string Typed(const std::string& id);

  std::filesystem::path dir;
  FakeHost host;
  MemRichBox view, status, work, entryBox, dialogBox, commentBox;
  AppState S;
  ProofWindowState W;
  CommandRegistry commands;
  std::string entryMessage, entryCaption, boxMessage, boxCaption;

 private:
  void Compare(const std::string& id, std::string actual);
  ManualPage page_;
  std::set<std::string> compared_;
  std::map<std::string, std::string> written_;
  std::deque<std::vector<std::string>> typed_, answered_;
};

}  // namespace qv
