#include "app/fSearch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/u_ResourceString.h"
#include "controls/MyDialogs.h"
#include "platform/qt/THtmlView.h"

namespace skribo {

TfrmSearch::TfrmSearch(QWidget* owner, THtmlView* view) : QDialog(owner), View(view) {
  setObjectName(QStringLiteral("frmSearch"));
  setWindowTitle(QString::fromUtf16(SSearchCaption.data(), SSearchCaption.size()));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* label = new QLabel(tr("Fi&nd what:"), this);
  edFind = new QLineEdit(this);
  edFind->setObjectName(QStringLiteral("edFind"));
  label->setBuddy(edFind);
  cbMatchCase = new QCheckBox(tr("Match &case"), this);
  cbMatchCase->setObjectName(QStringLiteral("cbMatchCase"));
  auto* direction = new QGroupBox(tr("Direction"), this);
  rbUp = new QRadioButton(tr("&Up"), direction);
  rbUp->setObjectName(QStringLiteral("rbUp"));
  rbDown = new QRadioButton(tr("&Down"), direction);
  rbDown->setObjectName(QStringLiteral("rbDown"));
  rbDown->setChecked(true);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(rbUp);
  directionLayout->addWidget(rbDown);

  btnFindNext = new QPushButton(tr("&Find Next"), this);
  btnFindNext->setObjectName(QStringLiteral("btnFindNext"));
  btnFindNext->setDefault(true);
  btnFindNext->setEnabled(false);
  btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(edFind, 0, 1, 1, 2);
  grid->addWidget(cbMatchCase, 1, 0, 1, 2, Qt::AlignBottom);
  grid->addWidget(direction, 1, 2);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnFindNext);
  buttons->addWidget(btnCancel);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 3, 2, 1);
  grid->setColumnStretch(1, 1);
  setMinimumWidth(420);

  connect(edFind, &QLineEdit::textChanged, this,
          [this](const QString& text) { btnFindNext->setEnabled(!text.isEmpty()); });
  connect(btnFindNext, &QPushButton::clicked, this, &TfrmSearch::btnFindNextClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmSearch::btnFindNextClick() {
  const QString text = edFind->text();
  if (text.isEmpty() || Searching) return;
  if (!View) return;
  Searching = true;
  btnFindNext->setEnabled(false);
  QPointer<TfrmSearch> self(this);
  View->FindText(text, rbUp->isChecked(), cbMatchCase->isChecked(),
                 [self, text](const THtmlView::TFindResult& result) {
                   if (!self) return;
                   self->Searching = false;
                   self->btnFindNext->setEnabled(!self->edFind->text().isEmpty());
                   if (!result.Found) {
                     std::u16string message =
                         QString::fromUtf16(SSearchNotFound.data(), SSearchNotFound.size())
                             .arg(text)
                             .toStdU16String();
                     ShowMessageDlg(self, std::u16string(ApplicationTitle), message,
                                    TMsgDlgType::mtInformation, mbOK, mrOk);
                   }
                   if (self) emit self->SearchDone(result.Found);
                 });
}

}  // namespace skribo
