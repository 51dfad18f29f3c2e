// A status bar with the two modes loading needs: one text across the whole width (simple mode),
// or panels, of which the last reaches the right edge.
#pragma once

#include <QString>
#include <QVector>
#include <QWidget>

namespace skribo {

class TStatusBar : public QWidget {
  Q_OBJECT

 public:
  explicit TStatusBar(QWidget* parent = nullptr);

  bool SimplePanel() const { return Simple; }
  void SetSimplePanel(bool simple);
  QString SimpleText() const { return Simple_Text; }
  void SetSimpleText(const QString& text);

  int PanelCount() const { return static_cast<int>(Panels.size()); }
  void SetPanelCount(int count);
  int PanelWidth(int index) const { return Panels.at(index).Width; }
  void SetPanelWidth(int index, int width);
  QString PanelText(int index) const { return Panels.at(index).Text; }
  void SetPanelText(int index, const QString& text);
  // The rectangle of a panel in the bar's coordinates, inside its frame.
  QRect PanelRect(int index) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct TPanel {
    int Width = 50;
    QString Text;
  };
  bool Simple = true;
  QString Simple_Text;
  QVector<TPanel> Panels;
};

// Lays bar over panel panelIndex of statusBar, as the bar's child.
void PlaceProgressBar(QWidget* bar, TStatusBar* statusBar, int panelIndex);

}  // namespace skribo
