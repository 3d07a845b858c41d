// Printing: the page text, the print window's range handling and messages,
// over in-memory boxes and a scripted host; and the window on Qt, offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "files/print.h"
#include "files/print_dialog.h"
#include "view/view.h"
#include "files_fixture.h"

namespace qv {
namespace {

class PrintTest : public FilesTest {
 protected:
  // 1 Premise and 2 Join (commented) inside a closed, collapsed subproof,
  // 3 its Conclusion; an Introduction above them.
  void SmallProof(const std::string& caption = "My proof") {
    ProofBuilder b;
    b.Intro("Prove: p@s");
    b.Add("p@s", kRulePremise, 0, 0, 1);
    b.Add("p@s & p@s", kRuleJoin, 1, 1, 1, "Twice");
    b.Add("p@s => p@s & p@s", kRuleConclusion, 1);
    b.Close(1, 3);
    b.Collapse(1);
    Load(b, caption);
  }
  // Opens the window the way the Print command does.
  PrintProofForm Open(const std::string& t1, const std::string& t2) {
    PrintProofOf(S).Text1 = t1;
    PrintProofOf(S).Text2 = t2;
    PrintProofForm f(S);
    f.Activate();
    return f;
  }
  // The printed page as text, the element-of glyph read back as "@".
  std::string Printed(size_t job = 0) {
    MemRichBox page;
    page.SetRichText(host.printJobs.at(job).rich);
    return ConvertEpsilon(page);
  }
};

TEST_F(PrintTest, WordWrapBreaksAtTheFirstBlankFromTheLimitOn) {
  // Blanks at 11, 22, ..., 66: the one at 55 is still inside the line.
  std::string t = "A234567890 B234567890 C234567890 D234567890 E234567890 F234567890 G2";
  InsertBreaks(t, 55);
  EXPECT_EQ(t, "A234567890 B234567890 C234567890 D234567890 E234567890 F234567890\r\nG2");

  std::string noBlank(80, 'x');
  InsertBreaks(noBlank, 55);
  EXPECT_EQ(noBlank, std::string(80, 'x'));

  // A line break restarts the count; the last character is never replaced.
  std::string lines = std::string(50, 'a') + "\r\n" + std::string(54, 'b') + " c ";
  InsertBreaks(lines, 55);
  EXPECT_EQ(lines, std::string(50, 'a') + "\r\n" + std::string(54, 'b') + " c ");

  std::string tabs = "\tA\r\n\t\tB";
  RemoveTabs(tabs);
  InsertTabs(tabs);
  EXPECT_EQ(tabs, "A\r\n\tB");
}

TEST_F(PrintTest, LineNumbersReadTheLeadingNumber) {
  EXPECT_EQ(LineNumberOf(" 12"), 12);
  EXPECT_EQ(LineNumberOf("3rd"), 3);
  EXPECT_EQ(LineNumberOf("abc"), 0);
  EXPECT_EQ(LineNumberOf(""), 0);
  EXPECT_EQ(LineNumberOf("2.5"), 2);
  EXPECT_EQ(LineNumberOf("3.5"), 4);
  EXPECT_EQ(LineNumberOf("-2"), -2);
  EXPECT_EQ(LineNumberOf("99999999999999999999"), 32767);
}

TEST_F(PrintTest, AllStatementsFollowsTheRangeAndRestoresIt) {
  SmallProof();
  PrintProofForm all = Open(" 1", " 3");
  EXPECT_TRUE(all.AllStmts);
  EXPECT_FALSE(all.RangeEnabled);
  EXPECT_EQ(all.Caption, " Print Proof - Max. 3 Lines");
  EXPECT_EQ(PrintProofOf(S).Text2, "3");
  EXPECT_EQ(all.StatusLine, "");

  PrintProofForm part = Open(" 2", " 3");
  EXPECT_FALSE(part.AllStmts);
  EXPECT_TRUE(part.RangeEnabled);
  part.AllStmtsClicked(true);
  EXPECT_EQ(PrintProofOf(S).Text1, "1");
  EXPECT_EQ(PrintProofOf(S).Text2, "3");
  part.AllStmtsClicked(false);
  EXPECT_EQ(PrintProofOf(S).Text1, "2");
  EXPECT_EQ(PrintProofOf(S).Text2, "3");
}

TEST_F(PrintTest, ContinueRefusesBadRangesAndKeepsTheWindowOpen) {
  SmallProof();
  for (auto [t1, t2] : {std::pair{"abc", "3"}, {"3", "2"}, {"1", "4"}, {"0", "1"}}) {
    PrintProofForm f = Open(t1, t2);
    const int beeps = host.beeps;
    EXPECT_FALSE(f.Continue()) << t1 << ".." << t2;
    EXPECT_EQ(f.StatusLine, "Invalid range");
    EXPECT_EQ(host.beeps, beeps + 1);
  }
  EXPECT_TRUE(host.printJobs.empty());

  // An Introduction alone: the proposed range 1..0 cannot print.
  ProofBuilder intro;
  intro.Intro("Only words");
  Load(intro);
  PrintProofForm f = Open(" 1", " 0");
  EXPECT_TRUE(f.AllStmts);
  EXPECT_FALSE(f.Continue());
  EXPECT_EQ(f.StatusLine, "Invalid range");
}

TEST_F(PrintTest, PrinterFailureAndCancelKeepTheWindowOpen) {
  SmallProof();
  host.printResult = Host::PrintResult::Failed;
  PrintProofForm f = Open("1", "3");
  EXPECT_FALSE(f.Continue());
  EXPECT_EQ(f.StatusLine, "Unable to print");
  EXPECT_EQ(host.beeps, 1);

  host.printResult = Host::PrintResult::Cancelled;
  PrintProofForm g = Open("1", "3");
  EXPECT_FALSE(g.Continue());
  EXPECT_EQ(host.beeps, 1);
  EXPECT_NE(g.StatusLine, "Unable to print");
}

TEST_F(PrintTest, WholeProofPrintsCaptionIntroductionAndEveryLine) {
  SmallProof();
  const std::string before = S.Doc.ProofText;
  PrintProofForm f = Open(" 1", " 3");
  EXPECT_TRUE(f.Continue());
  ASSERT_EQ(host.printJobs.size(), 1u);
  const auto& job = host.printJobs[0];
  EXPECT_EQ(job.left, 1440);
  EXPECT_EQ(job.top, 1440);
  EXPECT_EQ(job.right, 1440);
  EXPECT_EQ(job.bottom, 1440);
  // Hidden lines print; the subproof's indentation and the Conclusion's tag
  // do not.
  EXPECT_EQ(Printed(),
            "My proof\r\n\r\n"
            "Prove: p@s\r\n\r\n"
            "1\tp@s\r\n\tPremise\r\n\r\n"
            "Twice\r\n\r\n"
            "2\tp@s & p@s\r\n\tJoin, 1, 1\r\n\r\n"
            "3\tp@s => p@s & p@s\r\n\tConclusion, 1\r\n\r\n"
            "(Untitled)");
  EXPECT_EQ(S.Doc.ProofText, before);

  // Formats: caption bold 12, text 10, rule texts 8, all black in the fixed
  // font, the element-of sign as the glyph.
  MemRichBox page;
  page.SetRichText(job.rich);
  auto at = [&](const std::string& what) {
    page.SetSelStart(static_cast<int32_t>(Printed().find(what)));
    page.SetSelLength(1);
  };
  at("My proof");
  EXPECT_TRUE(page.SelBold());
  EXPECT_EQ(page.SelFontSize(), 12);
  at("Premise");
  EXPECT_EQ(page.SelFontSize(), 8);
  EXPECT_FALSE(page.SelBold());
  at("Twice");
  EXPECT_EQ(page.SelFontSize(), 10);
  EXPECT_EQ(page.SelFontName(), kFixedFont);
  EXPECT_EQ(page.SelColor(), kBlack);
  at("@s & p@s\r\n\tJoin");
  EXPECT_EQ(page.SelFontName(), kSymbolFont);
  EXPECT_EQ(page.SelFontSize(), 10);
}

TEST_F(PrintTest, RangeFromLineTwoLeavesOutTheIntroductionAndWrapsLongFormulas) {
  ProofBuilder b;
  b.Intro("Intro");
  b.Add("P", kRuleAxiom);
  b.Add("A23456789& B23456789& C23456789& D23456789& E23456789& F23456789& G2", kRuleAxiom, 0, 0,
        2);
  Load(b, "");
  S.Ui.ProofFileName = "/tmp/x.proof";
  PrintProofForm f = Open("2", "2");
  ASSERT_TRUE(f.Continue());
  EXPECT_EQ(Printed(),
            "2\tA23456789& B23456789& C23456789& D23456789& E23456789& F23456789&\r\n\tG2\r\n"
            "\tAxiom\r\n\r\n"
            "/tmp/x.proof");
}

class PrintDialogTest : public PrintTest {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "files_print_tests";
    static char* argv[] = {name, nullptr};
    if (!qApp) new QApplication(argc, argv);
  }
  static void Soon(std::function<void()> Action) { QTimer::singleShot(0, qApp, std::move(Action)); }
};

TEST_F(PrintDialogTest, WindowShowsTheRangeAndPrintsOnContinue) {
  SmallProof();
  PrintProofDialog d(S, nullptr);
  PrintProofOf(S) = {" 1", " 3"};
  Soon([&] {
    EXPECT_EQ(d.windowTitle(), " Print Proof - Max. 3 Lines");
    EXPECT_TRUE(d.AllStmtsCheck()->isChecked());
    EXPECT_FALSE(d.FromBox()->isEnabled());
    d.AllStmtsCheck()->click();
    EXPECT_TRUE(d.FromBox()->isEnabled());
    d.ToBox()->selectAll();
    d.ToBox()->insert("9");
    d.ContinueButton()->click();
    EXPECT_EQ(d.Status()->text(), "Invalid range");
    EXPECT_TRUE(d.isVisible());
    d.ToBox()->selectAll();
    d.ToBox()->insert("2");
    EXPECT_EQ(d.Status()->text(), "");  // a change of the last line clears it
    d.ContinueButton()->click();
  });
  d.Ask();
  EXPECT_FALSE(d.isVisible());
  ASSERT_EQ(host.printJobs.size(), 1u);
  EXPECT_NE(Printed().find("2\tp@s & p@s\r\n\tJoin, 1, 1\r\n\r\n(Untitled)"), std::string::npos);
  EXPECT_EQ(PrintProofOf(S).Text2, "2");
}

}  // namespace
}  // namespace qv
