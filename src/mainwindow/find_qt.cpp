// The Find window on screen: the search box, the direction and heading
// options, "Active statements only", Find, Paste and Cancel, and its message
// line, wired to FindForm. It is the one window that is not modal; in the
// program its input waits in the main window's input gate, and its commands
// run as the main window's own, so none runs ahead of or inside another.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "mainwindow/find.h"
#include "mainwindow/inputgate.h"
#include "mainwindow/mainwindow.h"
#include "platform/host.h"
#include "platform/qt/qtrichbox.h"

namespace qv {

namespace {

class FindDialog : public QDialog {
 public:
  FindDialog(AppState& S, std::shared_ptr<FindState> F, QWidget* parent)
      : QDialog(parent), F_(std::move(F)), main_(qobject_cast<MainWindow*>(parent)) {
    if (main_) main_->Gate().Watch(this);
    setObjectName(QString::fromLatin1(kFindFormName));
    setWindowTitle(QString::fromLatin1(kFindCaption));
    setModal(false);

    auto* boxLabel = new QLabel(QStringLiteral("Search String (Case Sensitve)"), this);
    boxLabel->setObjectName(QStringLiteral("TextBoxLabel"));
    box_ = new QtRichBox(this);
    box_->setObjectName(QStringLiteral("SearchStringTextBox"));
    box_->setTabChangesFocus(true);
    box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box_->SetDefaultFont(kFixedFont, S.Ui.FontSize);
    logic_ = std::make_unique<FindForm>(S, *F_, *box_);
    QPointer<FindDialog> self(this);
    F_->Hide = [self] {
      if (self) self->hide();
    };

    auto* direction = new QGroupBox(QStringLiteral("Search Direction"), this);
    direction->setObjectName(QStringLiteral("Label1"));
    forward_ = new QRadioButton(QStringLiteral("Forward"), direction);
    forward_->setObjectName(QStringLiteral("optForward"));
    backward_ = new QRadioButton(QStringLiteral("Backward"), direction);
    backward_->setObjectName(QStringLiteral("optBackward"));
    (F_->Forward ? forward_ : backward_)->setChecked(true);
    auto* dirLayout = new QVBoxLayout(direction);
    dirLayout->addWidget(forward_);
    dirLayout->addWidget(backward_);
    connect(forward_, &QRadioButton::toggled, this, [this](bool on) {
      F_->Forward = on;
      box_->setFocus();
    });
    connect(backward_, &QRadioButton::clicked, this, [this] { box_->setFocus(); });

    auto* headingLabel = new QLabel(QStringLiteral("...OR Search for heading"), this);
    headingLabel->setObjectName(QStringLiteral("optHeadingLabel"));
    headings_ = new QButtonGroup(this);
    const char* names[] = {"optDefine", "optProve", "optSufficient", "optAsRequired"};
    auto* headingLayout = new QVBoxLayout;
    headingLayout->addWidget(headingLabel);
    for (int i = 0; i < 4; ++i) {
      const auto h = static_cast<FindHeading>(i);
      auto* b = new QRadioButton(
          QString::fromLatin1(std::string("\"") + HeadingText(h) + "\""), this);
      b->setObjectName(QString::fromLatin1(names[i]));
      headings_->addButton(b, i);
      headingLayout->addWidget(b);
      connect(b, &QRadioButton::clicked, this, [this, h] {
        Run([this, h] {
          logic_->ChooseHeading(h);
          Refresh();
        });
      });
    }

    active_ = new QCheckBox(QStringLiteral("Active statements only"), this);
    active_->setObjectName(QStringLiteral("ChkActiveOnly"));
    active_->setChecked(F_->ActiveOnly);
    connect(active_, &QCheckBox::toggled, this, [this](bool on) {
      F_->ActiveOnly = on;
      box_->setFocus();
    });

    auto button = [this](const char* name, const char* caption) {
      auto* b = new QPushButton(QString::fromLatin1(caption), this);
      b->setObjectName(QString::fromLatin1(name));
      b->setAutoDefault(false);
      return b;
    };
    QPushButton* find = button("cmdFind", "Find");
    QPushButton* paste = button("cmdPaste", "Paste");
    QPushButton* cancel = button("cmdCancel", "Cancel");
    connect(find, &QPushButton::clicked, this, [this] {
      Run([this] {
        logic_->Find();
        Refresh();
      });
    });
    connect(paste, &QPushButton::clicked, this, [this] {
      Run([this] {
        logic_->Paste();
        Refresh();
      });
    });
    connect(cancel, &QPushButton::clicked, this, [this] { Run([this] { logic_->Cancel(); }); });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLine"));

    // The key reaches the box only when the window's logic lets it; the
    // key itself waited in the gate, so the logic runs as it comes.
    connect(box_, &QtRichBox::keyPressed, this, [this](int key, int mods, const QString& text) {
      Run([this, key, mods, text] {
        const auto m = Qt::KeyboardModifiers(mods);
        if (key == Qt::Key_Escape) {
          box_->SuppressKey();
          logic_->FormKeyPress(27);
          return;
        }
        if (logic_->KeyDown(m & Qt::ControlModifier, m & Qt::ShiftModifier, m & Qt::AltModifier)) {
          box_->SuppressKey();
        } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
          box_->SuppressKey();
          logic_->KeyPress(13);
        } else if (text.size() == 1 && text[0].unicode() < 256) {
          // Every typed key, Backspace included, clears the heading option.
          if (!logic_->KeyPress(static_cast<char>(text[0].unicode()))) box_->SuppressKey();
        }
        Refresh();
      });
    });

    auto* options = new QHBoxLayout;
    options->addWidget(direction);
    options->addLayout(headingLayout);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(find);
    buttons->addWidget(paste);
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boxLabel);
    layout->addWidget(box_);
    layout->addLayout(options);
    layout->addWidget(active_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    box_->setFixedHeight(QFontMetrics(box_->font()).height() * 2 + 12);
    setMinimumWidth(460);
  }

  // The Find command: the view's selection becomes the search string, and
  // the window is shown, or brought to the front when it is open already.
  void Open() {
    TakeSelection();
    show();
    raise();
    activateWindow();
  }

 protected:
  // A switch to the window from another window of the program takes the
  // view's selection too; coming back from another program does not, so a
  // search string typed but not yet run is kept. Like any input, the
  // activation waits while a handler runs (a modal window it opened, say)
  // and takes the selection as that handler leaves it.
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WindowDeactivate) leftProgram_ = QApplication::activeWindow() == nullptr;
    const bool done = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate) {
      if (!leftProgram_) {
        QPointer<FindDialog> self(this);
        Run([self] {
          if (self) self->TakeSelection();
        });
      }
      leftProgram_ = false;
    }
    return done;
  }
  // Esc and the close box hide the window; it is never destroyed while the
  // program runs, so its controls keep their state.
  void reject() override { logic_->Cancel(); }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    logic_->Cancel();
  }

 private:
  // A command of the window: in the program it runs as the main window runs
  // its handlers (after what waits in the gate, holding the main window's
  // input while it runs); alone, it runs now.
  void Run(std::function<void()> command) {
    if (main_) main_->Dispatch(std::move(command));
    else command();
  }
  void TakeSelection() {
    logic_->Activate();
    Refresh();
    box_->Flush();
  }
  void Refresh() {
    status_->setText(QString::fromLatin1(logic_->StatusLine));
    headings_->setExclusive(false);
    for (int i = 0; i < 4; ++i)
      headings_->button(i)->setChecked(static_cast<int>(logic_->Heading) == i);
    headings_->setExclusive(true);
  }

  std::shared_ptr<FindState> F_;
  QPointer<MainWindow> main_;  // the program's main window, when it owns this one
  std::unique_ptr<FindForm> logic_;
  QtRichBox* box_ = nullptr;
  QRadioButton* forward_ = nullptr;
  QRadioButton* backward_ = nullptr;
  QButtonGroup* headings_ = nullptr;
  QCheckBox* active_ = nullptr;
  QLabel* status_ = nullptr;
  bool leftProgram_ = false;  // the window lost the focus to another program
};

}  // namespace

std::function<void()> FindWindowOpener(AppState& S, std::shared_ptr<FindState> F, QWidget* owner) {
  AppState* s = &S;
  const bool hasOwner = owner != nullptr;
  QPointer<QWidget> parent(owner);
  auto dialog = std::make_shared<QPointer<FindDialog>>();
  return [s, F, hasOwner, parent, dialog] {
    if (!hasOwner || !parent) {
      if (s->host) s->host->Beep();
      return;
    }
    if (!*dialog) *dialog = new FindDialog(*s, F, parent);
    (*dialog)->Open();
  };
}

}  // namespace qv
