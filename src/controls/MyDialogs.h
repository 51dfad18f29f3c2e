// The program's message dialogs: the standard icon, message and button row, and the variant with
// a don't-ask-again box under them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "host/TQuestionDialog.h"

class QPushButton;
class QKeyEvent;

namespace skribo {

// A built message dialog. Its content (icon, message, buttons) lies in one child widget of fixed
// size that fills the client area, so that more can be placed below it by exact geometry.
// Object names: "Content", "Image", "Message", and each button after its result ("Yes", "No",
// "OK", "Cancel", "Abort", "Retry", "Ignore").
class TMessageForm : public QDialog {
  Q_OBJECT

 public:
  TMessageForm(QWidget* owner, const std::u16string& message, TMsgDlgType type, unsigned buttons);

  QWidget* Content() const { return FContent; }
  // In the dialog's own order, each with the modal result it closes the dialog with.
  const std::vector<std::pair<QPushButton*, int>>& Buttons() const { return FButtons; }
  QPushButton* ButtonFor(int modalResult) const;
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value) { FHelpContext = value; }
  // Keeps the dialog's fixed size in step with a new client size.
  void SetClientSize(QSize size);

  // The close box closes with mrCancel.
  void reject() override;

 protected:
  // Escape presses the button that stands for cancelling: Cancel, else No, else OK; without any
  // of them it closes the dialog with mrCancel.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* FContent = nullptr;
  std::vector<std::pair<QPushButton*, int>> FButtons;
  QPushButton* FCancelButton = nullptr;
  int FHelpContext = 0;
};

// The caption a dialog type gives: "Warning", "Error", "Information", "Confirm", and for a custom
// dialog the application's display name.
QString MessageDlgCaption(TMsgDlgType type);

// Adjusts a built dialog: a non-empty caption replaces the type's, the help context is stored,
// and the button carrying DefaultResult becomes the default and focused one, every other button
// losing that role (so a result no button carries leaves no default).
void PrepareMessageDlg(TMessageForm& dialog, const std::u16string& caption, int helpContext,
                       int defaultResult);

// Shows the question with a clear box under it, unless dontAsk is already true, in which case
// nothing is shown and defaultResult is returned. On return dontAsk holds the box's state.
int MessageDlgWithCheck(QWidget* owner, const std::u16string& caption,
                        const std::u16string& message, TMsgDlgType type, unsigned buttons,
                        int defaultResult, int helpContext, bool& dontAsk,
                        const std::u16string& checkCaption);

// An ordinary message box. mrNone as defaultResult keeps the default the buttons give: OK, else
// Yes, else Retry.
int ShowMessageDlg(QWidget* owner, const std::u16string& caption, const std::u16string& message,
                   TMsgDlgType type, unsigned buttons, int defaultResult = mrNone);

}  // namespace skribo
