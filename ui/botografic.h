// A graphical push button: its whole face in its own back colour, a centred picture and a
// caption. Painted here, so that the colour shows whatever the platform's style.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPushButton>

namespace corvani {

class BotoGrafic : public QPushButton {
public:
  BotoGrafic(const QString& caption, QColor back, const QPixmap& picture, QWidget* parent);

  QColor back() const { return back_; }
  void setBack(QColor back);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QColor back_;
  QPixmap picture_;
};

// A push button with the system's look whose caption wraps, as on the system's own buttons.
class BotoSistema : public QPushButton {
public:
  using QPushButton::QPushButton;

protected:
  void paintEvent(QPaintEvent* event) override;
};

// A picture box: its picture at its top-left corner, clipped, with an optional one-pixel border.
class CaixaImatge : public QWidget {
public:
  CaixaImatge(const QPixmap& picture, int border, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QPixmap picture_;
  int border_;
};

}  // namespace corvani
