// The window's own push buttons and picture boxes: graphical buttons that paint their face in
// their back colour whatever the platform's style, system-look buttons whose caption wraps, and
// picture boxes, and the direction bar. Pictures are drawn at the bench's scale, pixel for pixel
// at scale 1. Graphical buttons, picture boxes and the bar are opaque and keep the face they last
// painted in each state.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <vector>

namespace corvani {

// A push button that Enter and Return press too, as Space does.
class Boto : public QPushButton {
public:
  using QPushButton::QPushButton;

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class BotoGrafic : public Boto {
public:
  // `ink` is the caption's colour while the button is enabled; disabled, it is grey.
  BotoGrafic(const QString& caption, QColor back, QColor ink, const QPixmap& picture, QWidget* parent);

  QColor back() const { return back_; }
  void setBack(QColor back);
  void setScale(double scale);

protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void paintFace(QPainter& p) const;

  // The face as last painted in each state, at one device pixel ratio; emptied whenever
  // anything it shows other than the state changes.
  struct Face {
    QString caption;
    bool down, enabled, focus;
    QImage pixels;
  };
  std::vector<Face> faces_;
  qreal facesRatio_ = 0;

  QColor back_;
  QColor ink_;
  QPixmap picture_;
  double scale_ = 1;
};

class BotoSistema : public Boto {
public:
  using Boto::Boto;

protected:
  void paintEvent(QPaintEvent* event) override;
};

// A picture box: its picture at its top-left corner, clipped, with an optional one-pixel border.
class CaixaImatge : public QWidget {
public:
  CaixaImatge(const QPixmap& picture, int border, QWidget* parent);
  void setScale(double scale);

protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void paintFace(QPainter& p) const;

  std::array<QImage, 2> faces_;  // without and with focus, as for the graphical buttons
  qreal facesRatio_ = 0;
  QPixmap picture_;
  int border_;
  double scale_ = 1;
};

// The direction bar's look: the application's style, but that each arrow takes a quarter of the
// bar's length (square at most) and the thumb half of what is left, as a page is one of the two
// steps. So the thumb is shorter than its groove whatever the bar's size, at the top at 0 and the
// bottom at 1, and a click in the track beside it moves the bar one step.
class EstilPista : public QProxyStyle {
public:
  using QProxyStyle::QProxyStyle;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
};

// The direction bar: a stock scroll bar with that track, opaque, whose style keeps the faces it
// paints of it, since its gradients cost more to paint than the rest of a click. The faces are
// painted on black, what lies beneath the bar in the window.
class BarraDesplacament : public QScrollBar {
public:
  BarraDesplacament(Qt::Orientation orientation, QWidget* parent);

protected:
  void changeEvent(QEvent* event) override;
};

}  // namespace corvani
