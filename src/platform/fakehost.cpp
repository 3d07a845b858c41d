// The Host for tests: records the calls and answers from scripts.
#include "platform/fakehost.h"

#include <algorithm>

namespace qv {

namespace {

// The result of the n-th button (1-based) of a message box.
MsgResult ButtonResult(MsgButtons buttons, int n) {
  static const std::vector<MsgResult> kOk{MsgResult::Ok};
  static const std::vector<MsgResult> kOkCancel{MsgResult::Ok, MsgResult::Cancel};
  static const std::vector<MsgResult> kYesNo{MsgResult::Yes, MsgResult::No};
  static const std::vector<MsgResult> kYesNoCancel{MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
  const std::vector<MsgResult>* list = &kOk;
  switch (buttons) {
    case MsgButtons::Ok: list = &kOk; break;
    case MsgButtons::OkCancel: list = &kOkCancel; break;
    case MsgButtons::YesNo: list = &kYesNo; break;
    case MsgButtons::YesNoCancel: list = &kYesNoCancel; break;
  }
  n = std::clamp(n, 1, static_cast<int>(list->size()));
  return (*list)[n - 1];
}

}  // namespace

void FakeHost::AnswerMessages(std::initializer_list<MsgResult> answers) {
  messageAnswers.insert(messageAnswers.end(), answers.begin(), answers.end());
}

std::vector<std::string> FakeHost::MessageTexts() const {
  std::vector<std::string> out;
  for (const Message& m : messages) out.push_back(m.text);
  return out;
}

MsgResult FakeHost::MessageBox(const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon, int defaultButton) {
  MsgResult answer = ButtonResult(buttons, defaultButton);
  if (!messageAnswers.empty()) {
    answer = messageAnswers.front();
    messageAnswers.pop_front();
  }
  messages.push_back({text, title, buttons, icon, defaultButton, answer});
  return answer;
}

std::string FakeHost::FileAnswer(const FileDialogRequest& req, bool save) {
  std::string answer;
  if (!fileAnswers.empty()) {
    answer = fileAnswers.front();
    fileAnswers.pop_front();
  }
  fileDialogs.push_back({save, req, answer});
  return answer;
}

std::string FakeHost::OpenFileDialog(const FileDialogRequest& req) { return FileAnswer(req, false); }
std::string FakeHost::SaveFileDialog(const FileDialogRequest& req) { return FileAnswer(req, true); }

std::string FakeHost::ChooseDirectory(const std::string& title, const std::string& initialDir) {
  dirDialogs.push_back(title);
  if (dirAnswers.empty()) return "";
  std::string answer = dirAnswers.front();
  dirAnswers.pop_front();
  return answer;
}

void FakeHost::SetClipboard(const std::string& plain, const std::string& rich) {
  clipboardText = plain;
  clipboardRich = rich;
}

void FakeHost::SetWaitCursor(bool on) {
  if (on != waitCursor) ++waitCursorChanges;
  waitCursor = on;
}

bool FakeHost::OpenHelp(const std::string& path) {
  openedHelp.push_back(path);
  return helpAvailable;
}

bool FakeHost::ControlEnabled(const std::string& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() || it->second.enabled;
}

bool FakeHost::ControlVisible(const std::string& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() || it->second.visible;
}

bool FakeHost::ControlChecked(const std::string& name) const {
  auto it = controls_.find(name);
  return it != controls_.end() && it->second.checked;
}

std::string FakeHost::ControlCaption(const std::string& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? std::string() : it->second.caption;
}

bool FakeHost::ShowModal(const std::string& name) {
  formsShown.push_back(name);
  FormRunner run;
  if (auto it = scripted_.find(name); it != scripted_.end())
    run = it->second;  // a copy: the script may change the scripts while it runs
  else if (auto jt = forms_.find(name); jt != forms_.end())
    run = jt->second;
  if (!run) return false;
  run();
  return true;
}

Host::PrintResult FakeHost::PrintRichText(const std::string& rich, int leftTwips, int topTwips,
                                          int rightTwips, int bottomTwips, int32_t FileNameFrom) {
  if (printResult == PrintResult::Printed)
    printJobs.push_back({rich, leftTwips, topTwips, rightTwips, bottomTwips, FileNameFrom});
  return printResult;
}

}  // namespace qv
