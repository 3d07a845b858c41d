// The HTML page of the proof and the File menu command that writes it.
#include "mainwindow/htmlexport.h"

#include <algorithm>

#include "view/view.h"
#include "files/fileio.h"
#include "files/files.h"
#include "platform/commands.h"
#include "platform/host.h"
#include "mainwindow/maincommands.h"

namespace qv {

namespace {

constexpr const char* kBlueFont = "<font size=\"3\" face=\"Courier New\" color=\"#000096\">";
constexpr const char* kBlackFont = "<font size=\"3\" face=\"Courier New\" color=\"#000000\">";
constexpr const char* kGreyFont = "<font size=\"3\" face=\"Courier New\" color=\"#808080\">";
constexpr const char* kFontEnd = "</font>";
constexpr const char* kEnd = "</pre></body></html>";
// The Conclusion's rule text opens with its two-character tag ("4 "), which
// the view draws as a picture; the page leaves it out.
constexpr int32_t kConclusionTagLength = 2;

std::string Escape(const std::string& Text, bool ElementOf) {
  std::string out;
  out.reserve(Text.size() + Text.size() / 8);
  for (char ch : Text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '@':
        if (ElementOf) {
          out += "&#949;";
        } else {
          out += '@';
        }
        break;
      default:
        if (c >= 0x80) {
          out += "&#" + std::to_string(c) + ";";
        } else {
          out += ch;
        }
    }
  }
  return out;
}

// Characters From through To (1-based, inclusive) of Text; a range running
// past either end stops there.
std::string Range(const std::string& Text, int64_t From, int64_t To) {
  From = std::max<int64_t>(From, 1);
  To = std::min<int64_t>(To, static_cast<int64_t>(Text.size()));
  if (To < From) return "";
  return Text.substr(static_cast<size_t>(From - 1), static_cast<size_t>(To - From + 1));
}

}  // namespace

std::string InsertGifs(const std::string& Text) { return Escape(Text, true); }

std::string HtmlEscape(const std::string& Text) { return Escape(Text, false); }

std::string HtmlPage(const AppState& S) {
  const DocState& d = S.Doc;
  const std::string& t = d.ProofText;
  const std::string caption = HtmlEscape(S.Ui.ProofCaption);
  std::string page;
  page.reserve(t.size() + t.size() / 2 + 256);
  if (caption.empty()) {
    page += "<html><head><title>Untitled</title></head><body><pre>";
  } else {
    page += "<html><head><title>" + caption + "</title></head><body><pre>";
    page += std::string(kBlueFont) + "<b>" + caption + "</b>" + kFontEnd + "\r\n\r\n";
  }
  if (d.IntroLen > 0)
    page += kBlueFont + InsertGifs(Range(t, 1, int64_t{d.IntroLen} + 4)) + kFontEnd;
  for (int k = 1; k <= d.StmtCount && k < static_cast<int>(d.Stmts.size()); ++k) {
    const StmtRec& s = d.Stmts[k];
    int64_t from = s.StartLine;
    if (s.EndUserComment > 0) {
      page += kBlueFont + InsertGifs(Range(t, s.StartLine, s.EndUserComment)) + kFontEnd;
      from = int64_t{s.EndUserComment} + 1;
    }
    page += kBlackFont + InsertGifs(Range(t, from, s.EndStmt)) + kFontEnd;
    std::string rule;
    if (s.Rule == kRuleConclusion) {
      // Up to the tag, then the rule text after it; this piece stops three
      // characters after the rule text (CR LF CR).
      rule = Range(t, int64_t{s.EndStmt} + 1, int64_t{s.StartRule} - 1) +
             Range(t, int64_t{s.StartRule} + kConclusionTagLength, int64_t{s.EndRule} + 3);
    } else {
      rule = Range(t, int64_t{s.EndStmt} + 1, int64_t{s.EndRule} + 4);
    }
    page += kGreyFont + HtmlEscape(rule) + kFontEnd;
  }
  page += kEnd;
  return page;
}

std::string HtmlPathFor(const std::string& DialogFileName) {
  // The proof's own extension rule, with "html" in place of "proof".
  std::string p = ProofPathFor(DialogFileName);
  p.resize(p.size() - 5);
  return p + "html";
}

void optHTML_Click(AppState& S) {
  const std::string kept = StatusText(S);
  ClearStatus(S);
  if (!MainWindowOf(S).DialogFileName.empty()) MainWindowOf(S).DialogFileName = HtmlPathFor(MainWindowOf(S).DialogFileName);
  FileDialogRequest req;
  req.filter = kHtmlFilter;
  req.initialDir = S.Ui.DefaultDir;
  req.fileName = MainWindowOf(S).DialogFileName;
  req.defaultExt = "html";
  req.promptOverwrite = true;
  S.Ui.DialogCancelled = true;
  const std::string chosen = S.host->SaveFileDialog(req);
  if (chosen.empty()) return;  // cancelled: nothing written, the status stays empty
  S.Ui.DialogCancelled = false;
  MainWindowOf(S).DialogFileName = chosen;

  S.host->ProcessEvents();
  S.host->SetWaitCursor(true);
  ShowStatus(S, "Please wait...");
  bool ok = false;
  try {
    ok = WriteFileReplacing(chosen, HtmlPage(S) + "\r\n");
  } catch (...) {
    ok = false;
  }
  S.host->SetWaitCursor(false);
  if (!ok) {
    S.host->MessageBox("Unable to save HTML file", "WARNING", MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  ShowStatus(S, kept);
}

}  // namespace qv

namespace qv {

void RegisterHtmlCommands(AppState& S, CommandRegistry& commands) {
  AppState* s = &S;
  commands.Add("optHTML", [s] { optHTML_Click(*s); });
}

}  // namespace qv
