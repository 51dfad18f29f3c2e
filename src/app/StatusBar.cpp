#include "app/StatusBar.h"

#include <QPainter>
#include <QStyleOption>

namespace skribo {

namespace {
constexpr int PanelGap = 2;  // between two panels, as the classic status bar leaves it
constexpr int TextMargin = 4;
}  // namespace

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  SetPanelCount(2);
}

void TStatusBar::SetSimplePanel(bool simple) {
  if (Simple == simple) return;
  Simple = simple;
  update();
}

void TStatusBar::SetSimpleText(const QString& text) {
  Simple_Text = text;
  if (Simple) update();
}

void TStatusBar::SetPanelCount(int count) {
  Panels.resize(count);
  update();
}

void TStatusBar::SetPanelWidth(int index, int width) {
  Panels[index].Width = width;
  update();
}

void TStatusBar::SetPanelText(int index, const QString& text) {
  Panels[index].Text = text;
  if (!Simple) update();
}

QRect TStatusBar::PanelRect(int index) const {
  if (index < 0 || index >= PanelCount()) return {};
  const int top = 2, bottom = height() - 1;
  int left = 0;
  for (int i = 0; i < index; ++i)
    left += Panels[i].Width + PanelGap;
  int right = index == PanelCount() - 1 ? width() : left + Panels[index].Width;
  if (right < left) right = left;
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QSize TStatusBar::sizeHint() const {
  return QSize(200, fontMetrics().height() + 8);
}

void TStatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(0, 0, width(), 0);
  painter.setPen(palette().color(QPalette::WindowText));
  const int flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine;
  if (Simple) {
    QRect r = rect().adjusted(TextMargin, 1, -TextMargin, 0);
    painter.drawText(r, flags, fontMetrics().elidedText(Simple_Text, Qt::ElideRight, r.width()));
    return;
  }
  for (int i = 0; i < PanelCount(); ++i) {
    const QRect r = PanelRect(i);
    if (i > 0) {
      painter.setPen(palette().color(QPalette::Mid));
      painter.drawLine(r.left() - 1, r.top() + 1, r.left() - 1, r.bottom() - 1);
      painter.setPen(palette().color(QPalette::WindowText));
    }
    const QRect textRect = r.adjusted(TextMargin, 0, -TextMargin, 0);
    painter.drawText(textRect, flags,
                     fontMetrics().elidedText(Panels[i].Text, Qt::ElideRight, textRect.width()));
  }
}

void PlaceProgressBar(QWidget* bar, TStatusBar* statusBar, int panelIndex) {
  const QRect r = statusBar->PanelRect(panelIndex);
  if (bar->parentWidget() != statusBar) bar->setParent(statusBar);
  bar->setGeometry(r.left(), r.top(), r.right() + 1 - r.left(), r.bottom() + 1 - r.top());
}

}  // namespace skribo
