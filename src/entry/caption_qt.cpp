// The caption editor's window: a one-line rich-text box and the buttons
// Continue..., Clear and Cancel, wired to CaptionEditor.
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "entry/caption.h"
#include "platform/commands.h"
#include "platform/host.h"
#include "platform/qt/qtrichbox.h"

namespace qv {

namespace {

class CaptionDialog : public QDialog {
 public:
  CaptionDialog(AppState& S, QWidget* parent) : QDialog(parent), S_(S) {
    setObjectName(QString::fromLatin1(kCaptionFormName));
    setWindowTitle(QString::fromLatin1(kCaptionWindowCaption));
    setModal(true);

    box_ = new QtRichBox(this);
    box_->setObjectName(QStringLiteral("RTB"));
    box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box_->setTabChangesFocus(true);
    logic_ = std::make_unique<CaptionEditor>(S, *box_);
    logic_->OnHide = [this] { done(0); };

    auto button = [this](const char* name, const char* caption) {
      auto* b = new QPushButton(QString::fromLatin1(caption), this);
      b->setObjectName(QString::fromLatin1(name));
      b->setAutoDefault(false);
      return b;
    };
    QPushButton* cont = button("Continue", "Continue...");
    QPushButton* clear = button("Clear", "Clear");
    QPushButton* cancel = button("Cancel", "Cancel");
    connect(cont, &QPushButton::clicked, this, [this] { logic_->Continue(); });
    connect(clear, &QPushButton::clicked, this, [this] { logic_->Clear(); });
    connect(cancel, &QPushButton::clicked, this, [this] { logic_->Cancel(); });
    connect(box_, &QtRichBox::keyPressed, this, [this](int key, int mods, const QString&) {
      const auto m = Qt::KeyboardModifiers(mods);
      int code = 0;
      if (key == Qt::Key_R) code = 'R';
      else if (key == Qt::Key_Return || key == Qt::Key_Enter) code = CaptionEditor::kKeyEnter;
      if (CaptionEditor::DiscardKey(code, m & Qt::ControlModifier, m & Qt::ShiftModifier, m & Qt::AltModifier))
        box_->SuppressKey();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cont);
    buttons->addStretch();
    buttons->addWidget(clear);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box_);
    layout->addLayout(buttons);
    setMinimumWidth(520);
  }

  void RunModal() {
    logic_->Activate();
    // One line of the caption in the proof's text size.
    QFont f = box_->font();
    f.setPointSize(S_.Ui.FontSize);
    box_->setFixedHeight(QFontMetrics(f).height() + 16);
    box_->Flush();
    box_->setFocus();
    exec();
  }

 protected:
  // Esc and the close box leave the caption as it was.
  void reject() override { logic_->Cancel(); }
  void closeEvent(QCloseEvent* e) override {
    e->accept();
    logic_->Cancel();
  }

 private:
  AppState& S_;
  QtRichBox* box_ = nullptr;
  std::unique_ptr<CaptionEditor> logic_;
};

}  // namespace

void InstallCaptionForm(AppState& S, CommandRegistry& commands, QWidget* owner) {
  AppState* s = &S;
  commands.Add("optCaption", [s] { optCaption_Click(*s); });
  if (!S.host) return;
  QPointer<QWidget> parent(owner);
  // Created on first use and only hidden afterwards.
  auto dialog = std::make_shared<QPointer<CaptionDialog>>();
  S.host->RegisterForm(kCaptionFormName, [s, parent, dialog] {
    if (!*dialog) *dialog = new CaptionDialog(*s, parent);
    (*dialog)->RunModal();
  });
}

}  // namespace qv
