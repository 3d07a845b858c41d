// A Host for tests: records everything the program asks of the desktop and
// answers prompts from scripts the test sets up beforehand.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/host.h"

namespace qv {

class FakeHost : public Host {
 public:
  struct Message {
    std::string text, title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 1;
    MsgResult answer = MsgResult::Ok;
  };
  struct FileDialog {
    bool save = false;
    FileDialogRequest request;
    std::string answer;
  };
  struct PrintJob {
    std::string rich;
    int left = 0, top = 0, right = 0, bottom = 0;
    int32_t fileNameFrom = -1;
  };

  // --- scripts ---
  // Answers for the next message boxes, in order. With none left a box is
  // answered by its default button.
  void AnswerMessages(std::initializer_list<MsgResult> answers);
  std::deque<MsgResult> messageAnswers;
  // Answers for the next open/save dialogs and directory choosers ("" = cancel).
  // With none left the dialog is cancelled.
  std::deque<std::string> fileAnswers;
  std::deque<std::string> dirAnswers;
  bool helpAvailable = true;
  PrintResult printResult = PrintResult::Printed;
  // Replaces the registered runner of a form while the script is set.
  void OnModal(const std::string& form, FormRunner run) { scripted_[form] = std::move(run); }
  void ClearModalScript(const std::string& form) { scripted_.erase(form); }

  // --- records ---
  int beeps = 0;
  std::vector<Message> messages;
  std::vector<FileDialog> fileDialogs;
  std::vector<std::string> dirDialogs;  // titles
  std::string clipboardText, clipboardRich;
  bool waitCursor = false;
  int waitCursorChanges = 0;
  std::vector<std::string> openedUrls;
  std::vector<std::string> openedHelp;
  std::vector<PrintJob> printJobs;
  std::string windowTitle;
  bool mainEnabled = true;
  std::vector<std::string> formsShown;  // every ShowModal call, in order
  int processEventsCalls = 0;

  // The texts of all messages shown, in order (handy in assertions).
  std::vector<std::string> MessageTexts() const;
  const Message* LastMessage() const { return messages.empty() ? nullptr : &messages.back(); }
  bool ControlVisible(const std::string& name) const override;
  bool HasForm(const std::string& name) const { return forms_.count(name) != 0; }

  // --- Host ---
  void Beep() override { ++beeps; }
  MsgResult MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon icon, int defaultButton) override;
  std::string OpenFileDialog(const FileDialogRequest& req) override;
  std::string SaveFileDialog(const FileDialogRequest& req) override;
  std::string ChooseDirectory(const std::string& title, const std::string& initialDir) override;
  void SetClipboard(const std::string& plain, const std::string& rich) override;
  std::string ClipboardText() override { return clipboardText; }
  std::string ClipboardRich() override { return clipboardRich; }
  void SetWaitCursor(bool on) override;
  void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }
  bool OpenHelp(const std::string& path) override;
  void SetControlEnabled(const std::string& name, bool enabled) override { controls_[name].enabled = enabled; }
  void SetControlVisible(const std::string& name, bool visible) override { controls_[name].visible = visible; }
  void SetControlChecked(const std::string& name, bool checked) override { controls_[name].checked = checked; }
  void SetControlCaption(const std::string& name, const std::string& caption) override {
    controls_[name].caption = caption;
  }
  bool ControlEnabled(const std::string& name) const override;
  bool ControlChecked(const std::string& name) const override;
  std::string ControlCaption(const std::string& name) const override;
  void SetWindowTitle(const std::string& title) override { windowTitle = title; }
  std::string WindowTitle() const override { return windowTitle; }
  void SetMainEnabled(bool enabled) override { mainEnabled = enabled; }
  void RegisterForm(const std::string& name, FormRunner run) override { forms_[name] = std::move(run); }
  bool ShowModal(const std::string& name) override;
  PrintResult PrintRichText(const std::string& rich, int leftTwips, int topTwips, int rightTwips,
                            int bottomTwips, int32_t FileNameFrom = -1) override;
  void ProcessEvents() override { ++processEventsCalls; }

 private:
  std::string FileAnswer(const FileDialogRequest& req, bool save);
  struct Control {
    bool enabled = true, visible = true, checked = false;
    std::string caption;
  };
  std::map<std::string, Control> controls_;
  std::map<std::string, FormRunner> forms_;
  std::map<std::string, FormRunner> scripted_;
};

}  // namespace qv
