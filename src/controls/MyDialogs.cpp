#include "controls/MyDialogs.h"

#include <algorithm>
#include <array>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace skribo {

namespace {

struct TButtonKind {
  TMsgDlgButton Bit;
  int Result;
  const char* Name;
  const char* Caption;
};

// The standard order of the button row.
constexpr std::array<TButtonKind, 7> ButtonKinds{{
    {mbYes, mrYes, "Yes", "&Yes"},
    {mbNo, mrNo, "No", "&No"},
    {mbOK, mrOk, "OK", "OK"},
    {mbCancel, mrCancel, "Cancel", "Cancel"},
    {mbAbort, mrAbort, "Abort", "&Abort"},
    {mbRetry, mrRetry, "Retry", "&Retry"},
    {mbIgnore, mrIgnore, "Ignore", "&Ignore"},
}};

int MulDiv(int number, int numerator, int denominator) {
  return (number * numerator + denominator / 2) / denominator;
}

// The dialog's measures come in dialog units of its font, as the standard dialogs lay out.
struct TDialogUnits {
  int X = 0;  // average character width
  int Y = 0;  // character height

  explicit TDialogUnits(const QFontMetrics& metrics) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    X = std::max(1, metrics.horizontalAdvance(letters) / static_cast<int>(letters.size()));
    Y = std::max(1, metrics.height());
  }
  int Horz(int units) const { return MulDiv(units, X, 4); }
  int Vert(int units) const { return MulDiv(units, Y, 8); }
};

QStyle::StandardPixmap IconFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::mtError:
      return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::mtInformation:
      return QStyle::SP_MessageBoxInformation;
    case TMsgDlgType::mtConfirmation:
      return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::mtCustom:
      break;
  }
  return QStyle::SP_CustomBase;
}

// Messages arrive with CR LF line breaks; the label breaks lines at LF only.
QString MessageText(const std::u16string& message) {
  QString text = QString::fromStdU16String(message);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Frees the dialog however the call ends, unless its owner has taken it along already.
struct TDialogHolder {
  QPointer<TMessageForm> Dialog;
  ~TDialogHolder() { delete Dialog.data(); }
};

}  // namespace

QString MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return QStringLiteral("Warning");
    case TMsgDlgType::mtError:
      return QStringLiteral("Error");
    case TMsgDlgType::mtInformation:
      return QStringLiteral("Information");
    case TMsgDlgType::mtConfirmation:
      return QStringLiteral("Confirm");
    case TMsgDlgType::mtCustom:
      break;
  }
  return QGuiApplication::applicationDisplayName();
}

TMessageForm::TMessageForm(QWidget* owner, const std::u16string& message, TMsgDlgType type,
                           unsigned buttons)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("MessageForm"));
  setWindowTitle(MessageDlgCaption(type));
  FContent = new QWidget(this);
  FContent->setObjectName(QStringLiteral("Content"));

  const TDialogUnits units(fontMetrics());
  const int horzMargin = units.Horz(8);
  const int vertMargin = units.Vert(8);
  const int horzSpacing = units.Horz(10);
  const int vertSpacing = units.Vert(10);
  const int buttonSpacing = units.Horz(4);
  constexpr int IconSize = 32;

  const QScreen* screen = this->screen();
  const int textLimit = std::max(200, (screen != nullptr ? screen->geometry().width() : 800) / 2);
  const QString text = MessageText(message);
  const int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
  const QRect textRect = fontMetrics().boundingRect(QRect(0, 0, textLimit, 0), textFlags, text);

  const bool hasIcon = type != TMsgDlgType::mtCustom;
  int iconTextWidth = textRect.width();
  int iconTextHeight = textRect.height();
  if (hasIcon) {
    iconTextWidth += IconSize + horzSpacing;
    iconTextHeight = std::max(iconTextHeight, IconSize);
    auto* image = new QLabel(FContent);
    image->setObjectName(QStringLiteral("Image"));
    image->setPixmap(style()->standardIcon(IconFor(type), nullptr, this).pixmap(IconSize));
    image->setGeometry(horzMargin, vertMargin, IconSize, IconSize);
  }
  auto* label = new QLabel(FContent);
  label->setObjectName(QStringLiteral("Message"));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setText(text);
  label->setGeometry(horzMargin + (hasIcon ? IconSize + horzSpacing : 0), vertMargin,
                     textRect.width(), textRect.height());

  int buttonWidth = units.Horz(50);
  int buttonHeight = units.Vert(14);
  for (const TButtonKind& kind : ButtonKinds) {
    if ((buttons & kind.Bit) == 0) continue;
    auto* button = new QPushButton(QString::fromLatin1(kind.Caption), FContent);
    button->setObjectName(QString::fromLatin1(kind.Name));
    buttonWidth = std::max(buttonWidth, button->sizeHint().width());
    buttonHeight = std::max(buttonHeight, button->sizeHint().height());
    const int result = kind.Result;
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    FButtons.emplace_back(button, result);
  }

  // Before any caller adjusts it: OK, else Yes, else Retry is the default; Cancel, else No,
  // else OK answers Escape.
  const int builderDefault = (buttons & mbOK) ? mrOk : (buttons & mbYes) ? mrYes : mrRetry;
  if (QPushButton* button = ButtonFor(builderDefault)) button->setDefault(true);
  FCancelButton = ButtonFor((buttons & mbCancel) ? mrCancel : (buttons & mbNo) ? mrNo : mrOk);

  const int count = static_cast<int>(FButtons.size());
  const int groupWidth = count > 0 ? buttonWidth * count + buttonSpacing * (count - 1) : 0;
  const int clientWidth = std::max(iconTextWidth, groupWidth) + horzMargin * 2;
  const int clientHeight = iconTextHeight + buttonHeight + vertSpacing + vertMargin * 2;
  int x = (clientWidth - groupWidth) / 2;
  for (const auto& [button, result] : FButtons) {
    button->setGeometry(x, iconTextHeight + vertMargin + vertSpacing, buttonWidth, buttonHeight);
    x += buttonWidth + buttonSpacing;
  }
  FContent->setGeometry(0, 0, clientWidth, clientHeight);
  SetClientSize(QSize(clientWidth, clientHeight));
}

QPushButton* TMessageForm::ButtonFor(int modalResult) const {
  for (const auto& [button, result] : FButtons)
    if (result == modalResult) return button;
  return nullptr;
}

void TMessageForm::SetClientSize(QSize size) {
  setFixedSize(size);
}

void TMessageForm::reject() {
  done(mrCancel);
}

void TMessageForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (FCancelButton != nullptr)
      FCancelButton->click();
    else
      done(mrCancel);
    return;
  }
  QDialog::keyPressEvent(event);
}

void PrepareMessageDlg(TMessageForm& dialog, const std::u16string& caption, int helpContext,
                       int defaultResult) {
  if (!caption.empty()) dialog.setWindowTitle(QString::fromStdU16String(caption));
  dialog.SetHelpContext(helpContext);
  for (const auto& [button, result] : dialog.Buttons()) {
    const bool isDefault = result == defaultResult;
    button->setDefault(isDefault);
    if (isDefault) button->setFocus(Qt::OtherFocusReason);
  }
}

int MessageDlgWithCheck(QWidget* owner, const std::u16string& caption,
                        const std::u16string& message, TMsgDlgType type, unsigned buttons,
                        int defaultResult, int helpContext, bool& dontAsk,
                        const std::u16string& checkCaption) {
  if (dontAsk) return defaultResult;
  TDialogHolder holder{new TMessageForm(owner, message, type, buttons)};
  TMessageForm& dialog = *holder.Dialog;
  PrepareMessageDlg(dialog, caption, helpContext, defaultResult);

  auto* box = new QCheckBox(QString::fromStdU16String(checkCaption), &dialog);
  box->setObjectName(QStringLiteral("DontAskCheck"));
  box->setChecked(false);
  const QSize client = dialog.size();
  box->setGeometry(16, client.height(), client.width() - 32, box->sizeHint().height());
  dialog.SetClientSize(QSize(client.width(), client.height() + box->height() + 8));

  QPointer<QCheckBox> boxGuard(box);
  const int result = dialog.exec();
  // The owner may have been closed while the dialog was up, taking the dialog with it.
  if (!holder.Dialog || !boxGuard) return mrCancel;
  dontAsk = boxGuard->isChecked();
  return result;
}

int ShowMessageDlg(QWidget* owner, const std::u16string& caption, const std::u16string& message,
                   TMsgDlgType type, unsigned buttons, int defaultResult) {
  TDialogHolder holder{new TMessageForm(owner, message, type, buttons)};
  if (defaultResult == mrNone) {
    for (const auto& [button, result] : holder.Dialog->Buttons())
      if (button->isDefault()) defaultResult = result;
  }
  // Also gives the default button the focus, so that Enter answers it.
  PrepareMessageDlg(*holder.Dialog, caption, 0, defaultResult);
  const int result = holder.Dialog->exec();
  return holder.Dialog ? result : mrCancel;
}

}  // namespace skribo
