// A Qt window as the placement routines see it.
#pragma once

#include "prefs/WindowPlacement.h"

class QWidget;

namespace skribo {

class TQtFormGeometry : public TFormGeometry {
 public:
  explicit TQtFormGeometry(QWidget* form) : Form(form) {}

  bool IsMaximized() const override;
  TRect NormalRect() const override;
  void SetNormalRect(const TRect& rect) override;
  // The window system keeps no separate maximised position here; the stored one is kept as it is.
  TPoint MaximizedPosition() const override { return MaxPosition; }
  void SetMaximizedPosition(const TPoint& position) override { MaxPosition = position; }
  void SetMaximized(bool maximized) override;
  TSize PrimaryScreenSize() const override;
  std::u16string ActiveControlName() const override;
  void SetActiveControl(const std::u16string& name) override;

 private:
  QWidget* Form;
  TPoint MaxPosition{-1, -1};
};

}  // namespace skribo
