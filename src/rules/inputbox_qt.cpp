// The input box on Qt, wired to its logic.
#include "rules/inputbox_qt.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/latin1.h"
#include "rules/inputbox.h"

namespace qv {
namespace {
}  // namespace

InputBoxDialog::InputBoxDialog(AppState& state, QWidget* parent) : QDialog(parent), S(state) {
  setObjectName("MyInputBox");
  setModal(true);
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label1_->setWordWrap(true);
  text1_ = new QLineEdit(this);
  text1_->setObjectName("Text1");
  label2_ = new QLabel(this);
  label2_->setObjectName("Label2");
  label2_->setStyleSheet("color: rgb(192, 0, 0);");
  continue_ = new QPushButton("Continue", this);
  continue_->setObjectName("Continue");
  continue_->setAutoDefault(false);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("Cancel");
  cancel_->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(continue_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1_);
  layout->addWidget(text1_);
  layout->addWidget(label2_);
  layout->addLayout(buttons);
  setMinimumWidth(460);

  connect(continue_, &QPushButton::clicked, this, &InputBoxDialog::OnContinue);
  connect(cancel_, &QPushButton::clicked, this, &InputBoxDialog::OnCancel);
  connect(text1_, &QLineEdit::returnPressed, this, &InputBoxDialog::OnContinue);
}

void InputBoxDialog::Run() {
  const InputBoxState& box = InputBoxOf(S);
  setWindowTitle(Latin1(box.Caption));
  label1_->setText(Latin1(box.Label1));
  label2_->setText(Latin1(box.Label2));
  MyInputBox_Activate(S);
  text1_->setText(Latin1(InputBoxOf(S).Text1));
  QFont f = text1_->font();
  f.setPointSize(S.Ui.FontSize);
  text1_->setFont(f);
  text1_->setFocus();
  exec();
}

void InputBoxDialog::OnContinue() {
  InputBoxOf(S).Text1 = FromLatin1(text1_->text());
  InputBoxOutcome out = MyInputBox_Continue(S);
  label2_->setText(Latin1(InputBoxOf(S).Label2));
  if (out.Hide) {
    accept();
    return;
  }
  if (out.FocusText) text1_->setFocus();
}

void InputBoxDialog::OnCancel() {
  InputBoxOf(S).Text1 = FromLatin1(text1_->text());
  MyInputBox_Cancel(S);
  reject();
}

void InputBoxDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    OnCancel();
    return;
  }
  // Enter is handled by the text box; it must not trigger a default button.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(e);
}

void InputBoxDialog::closeEvent(QCloseEvent* e) {
  if (isVisible()) {
    MyInputBox_QueryUnload(S);
    unloaded_ = true;
  }
  e->accept();
  QDialog::closeEvent(e);
}

}  // namespace qv
