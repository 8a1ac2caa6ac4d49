// Painting of the graphical buttons, the picture boxes and the direction bar.
#include "ui/botografic.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/escala.h"

namespace corvani {
namespace {

constexpr int captionFlags = Qt::AlignCenter | Qt::TextWordWrap;

// The caption's font, made smaller where a long word would not fit the face: by half a point of
// the bench down to six, in the device's points.
QFont fitted(QFont font, const QRect& face, const QString& text, const QPaintDevice& device) {
  const double points = escala::pointsFor(device);
  while (font.pointSizeF() > 6 * points &&
         QFontMetrics(font, &device).boundingRect(face, captionFlags, text).width() > face.width())
    font.setPointSizeF(font.pointSizeF() - 0.5 * points);
  return font;
}

void drawCaption(QPainter& p, const QPushButton& b, const QRect& face, QColor color) {
  if (b.text().isEmpty()) return;
  // The widget's points as many pixels on the device painted on (its face, a grab) as on the widget.
  QFont font = b.font();
  font.setPointSizeF(font.pointSizeF() * b.logicalDpiY() / p.device()->logicalDpiY());
  p.setPen(color);
  p.setFont(fitted(font, face, b.text(), *p.device()));
  p.drawText(face, captionFlags, b.text());
}

// A rectangle's one-pixel outline as fills of whole pixels, the bottom and right sides over the
// top and left ones: at any device pixel ratio each side covers exactly the device pixels of its
// own row or column. (A 1-pixel pen is centred on the pixels' corners, so at a ratio of 2 or more
// it covers half a pixel outside the face and leaves the face's last half-pixel unpainted.)
void outline(QPainter& p, const QRect& r, QColor topLeft, QColor bottomRight) {
  p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
  p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
  p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
  p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

// The focus rectangle: a dot on every third pixel of the outline of `r`, clockwise from its
// top-left corner and back to it, where a dotted 1-pixel pen puts them at ratio 1; as fills of
// whole pixels, like the outline.
void dotted(QPainter& p, const QRect& r, QColor color) {
  int along = 0;
  const auto step = [&](int x, int y) {
    if (along++ % 3 == 1) p.fillRect(QRect(x, y, 1, 1), color);
  };
  for (int x = r.left(); x < r.right(); ++x) step(x, r.top());
  for (int y = r.top(); y < r.bottom(); ++y) step(r.right(), y);
  for (int x = r.right(); x > r.left(); --x) step(x, r.bottom());
  for (int y = r.bottom(); y >= r.top(); --y) step(r.left(), y);
}

// The picture's pixels at the bench's scale, without smoothing, so pixel art stays crisp.
void drawPicture(QPainter& p, QPointF at, const QPixmap& picture, double scale) {
  p.drawPixmap(QRectF(at, QSizeF(picture.size()) * scale), picture, QRectF(picture.rect()));
}

// A face painted once can be copied pixel for pixel only where the widget lies on whole device
// pixels; at a fractional device pixel ratio it is painted every time.
bool copiable(qreal ratio) { return ratio == std::floor(ratio); }

// The face in device pixels, opaque like the window's backing store so that it is copied, not blended.
template <typename Paint>
QImage renderFace(QSize size, qreal ratio, Paint paint) {
  QImage pixels(size * ratio, QImage::Format_RGB32);
  pixels.setDevicePixelRatio(ratio);
  QPainter painter(&pixels);
  paint(painter);
  painter.end();
  pixels.setDevicePixelRatio(1);
  return pixels;
}

// One to one in device pixels, so that the copy is a copy of rows rather than a scaling.
void copyFace(QPainter& p, const QImage& face, qreal ratio, QPoint at = {}) {
  p.scale(1 / ratio, 1 / ratio);
  p.drawImage(at * ratio, face);
}

}  // namespace

void Boto::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // At once: a delayed click could land after the handler has hidden or disabled the button.
    if (!event->isAutoRepeat()) click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

// Qt repaints a released button at once, before its click is handled: a frame of its own. Let go
// as though beyond the button, which repaints it with the next frame, then clicked, the button's
// face goes to the screen with what the click changes.
void Boto::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isDown() || !hitButton(event->position().toPoint())) {
    QPushButton::mouseReleaseEvent(event);
    return;
  }
  QMouseEvent beyond(event->type(), QPointF(-1, -1), event->scenePosition(), event->globalPosition(),
                     event->button(), event->buttons(), event->modifiers(), event->pointingDevice());
  QPushButton::mouseReleaseEvent(&beyond);
  click();
  event->accept();
}

// The face is opaque edge to edge, so nothing beneath it need be painted with it. Set once the
// style has polished the button, as Fusion clears it on buttons.
BotoGrafic::BotoGrafic(const QString& caption, QColor back, QColor ink, const QPixmap& picture, QWidget* parent)
    : Boto(caption, parent), back_(back), ink_(ink), picture_(picture) {
  ensurePolished();
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void BotoGrafic::setScale(double scale) {
  if (scale == scale_) return;
  scale_ = scale;
  faces_.clear();
  update();
}

void BotoGrafic::setBack(QColor back) {
  if (back == back_) return;
  back_ = back;
  faces_.clear();
  update();
}

void BotoGrafic::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) faces_.clear();
  if (event->type() == QEvent::StyleChange) {
    faces_.clear();
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  Boto::changeEvent(event);
}

void BotoGrafic::resizeEvent(QResizeEvent* event) {
  faces_.clear();
  Boto::resizeEvent(event);
}

void BotoGrafic::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const qreal ratio = p.device()->devicePixelRatio();
  if (!copiable(ratio)) {
    paintFace(p);
    return;
  }
  if (ratio != facesRatio_) {
    faces_.clear();
    facesRatio_ = ratio;
  }
  const QString caption = text();
  const bool down = isDown(), enabled = isEnabled(), focus = hasFocus();
  auto face = std::find_if(faces_.begin(), faces_.end(), [&](const Face& f) {
    return f.down == down && f.enabled == enabled && f.focus == focus && f.caption == caption;
  });
  if (face == faces_.end()) {
    // Captions that toggle (the white-light switch, the analysis button) keep a few each.
    constexpr std::size_t kept = 16;
    if (faces_.size() == kept) faces_.clear();
    faces_.push_back({caption, down, enabled, focus, renderFace(size(), ratio, [this](QPainter& fp) { paintFace(fp); })});
    face = std::prev(faces_.end());
  }
  copyFace(p, face->pixels, ratio);
}

// A 2-pixel bevel like the system's buttons: raised, or sunken while pressed.
void BotoGrafic::paintFace(QPainter& p) const {
  const QRect r = rect();
  const bool down = isDown();
  p.fillRect(r, back_);
  const QPoint shift = down ? QPoint(1, 1) : QPoint(0, 0);
  if (!picture_.isNull()) {
    p.save();
    p.setClipRect(r.adjusted(2, 2, -2, -2));
    const QSizeF size = QSizeF(picture_.size()) * scale_;
    // Whole pixels, rounded down, so the picture sits where it did before scaling.
    const QPointF at(std::floor((r.width() - size.width()) / 2), std::floor((r.height() - size.height()) / 2));
    drawPicture(p, at + shift, picture_, scale_);
    p.restore();
  }
  drawCaption(p, *this, r.adjusted(2, 2, -2, -2).translated(shift),
              isEnabled() ? ink_ : QColor(128, 128, 128));
  const QColor light(255, 255, 255), shade(128, 128, 128), dark(0, 0, 0), face(223, 223, 223);
  const QColor topLeft = down ? dark : light, bottomRight = down ? light : dark;
  const QColor innerTopLeft = down ? shade : face, innerBottomRight = down ? face : shade;
  outline(p, r, topLeft, bottomRight);
  outline(p, r.adjusted(1, 1, -1, -1), innerTopLeft, innerBottomRight);
  if (hasFocus()) dotted(p, r.adjusted(3, 3, -3, -3), Qt::black);
}

void BotoSistema::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  p.drawControl(QStyle::CE_PushButton, option);
  const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  drawCaption(p, *this, face, palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
}

CaixaImatge::CaixaImatge(const QPixmap& picture, int border, QWidget* parent)
    : QWidget(parent), picture_(picture), border_(border) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CaixaImatge::setScale(double scale) {
  if (scale == scale_) return;
  scale_ = scale;
  faces_ = {};
  update();
}

void CaixaImatge::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) faces_ = {};
  QWidget::changeEvent(event);
}

void CaixaImatge::resizeEvent(QResizeEvent* event) {
  faces_ = {};
  QWidget::resizeEvent(event);
}

void CaixaImatge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const qreal ratio = p.device()->devicePixelRatio();
  if (!copiable(ratio)) {
    paintFace(p);
    return;
  }
  if (ratio != facesRatio_) {
    faces_ = {};
    facesRatio_ = ratio;
  }
  QImage& face = faces_[hasFocus() ? 1 : 0];
  if (face.isNull()) face = renderFace(size(), ratio, [this](QPainter& fp) { paintFace(fp); });
  copyFace(p, face, ratio);
}

void CaixaImatge::paintFace(QPainter& p) const {
  p.fillRect(rect(), Qt::black);
  drawPicture(p, QPointF(border_, border_), picture_, scale_);
  if (border_ > 0) {
    const QColor border = palette().color(QPalette::WindowText);
    outline(p, rect(), border, border);
  }
  if (hasFocus()) dotted(p, rect(), Qt::white);
}

// Fusion's arrows are as long as its scroll bars are wide by default and its thumb at least 26
// pixels, both fixed: on the bar's 41 pixels at scale 1 the thumb filled the groove, and on a
// smaller window the arrows overlapped. Here they follow the bar.
int EstilPista::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
      bar && (metric == PM_ScrollBarExtent || metric == PM_ScrollBarSliderMin)) {
    const bool vertical = bar->orientation == Qt::Vertical;
    const int length = vertical ? bar->rect.height() : bar->rect.width();
    const int breadth = vertical ? bar->rect.width() : bar->rect.height();
    return metric == PM_ScrollBarExtent ? std::min(breadth, length / 4) : 1;
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}

namespace {

// The bar's style, drawing it from the faces it has painted of it, one per option and place: the
// option says all the style draws from, pressed and hovered parts included, and the style's
// gradients come out a shade apart at another device pixel, so a face is painted where it will
// be copied.
class EstilBarra : public EstilPista {
public:
  using EstilPista::EstilPista;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override {
    const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
    const qreal ratio = painter->device()->devicePixelRatio();
    const QTransform& toDevice = painter->deviceTransform();
    if (control != CC_ScrollBar || !slider || !copiable(ratio) || toDevice.type() > QTransform::TxScale ||
        painter->transform().type() > QTransform::TxTranslate) {
      EstilPista::drawComplexControl(control, option, painter, widget);
      return;
    }
    const QPointF corner = toDevice.map(QPointF(slider->rect.topLeft()));
    const QPoint device = corner.toPoint();
    if (QPointF(device) != corner || device.x() < 0 || device.y() < 0) {
      EstilPista::drawComplexControl(control, option, painter, widget);
      return;
    }
    auto face = std::find_if(faces_.begin(), faces_.end(), [&](const Face& f) { return f.same(*slider, ratio, device); });
    if (face == faces_.end()) {
      // Two positions, each plain, hovered, pressed or focused, in a window or two.
      constexpr std::size_t kept = 32;
      if (faces_.size() == kept) faces_.clear();
      faces_.push_back({*slider, ratio, device, paintAt(*slider, ratio, device, widget)});
      face = std::prev(faces_.end());
    }
    const QPoint at = slider->rect.topLeft() + painter->transform().map(QPointF()).toPoint();
    painter->save();
    painter->resetTransform();
    copyFace(*painter, face->pixels, ratio, at);
    painter->restore();
  }

private:
  // On black, as the style paints it at that device pixel of a device of this ratio. Of the
  // canvas, only the face's own pixels are ever touched.
  QImage paintAt(const QStyleOptionSlider& option, qreal ratio, QPoint device, const QWidget* widget) const {
    const QSize size = option.rect.size() * ratio;
    QImage canvas(QSize(device.x(), device.y()) + size, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    QPainter p(&canvas);
    p.translate(QPointF(device) / ratio - QPointF(option.rect.topLeft()));
    p.fillRect(option.rect, Qt::black);
    EstilPista::drawComplexControl(CC_ScrollBar, &option, &p, widget);
    p.end();
    QImage pixels = canvas.copy(QRect(device, size));
    pixels.setDevicePixelRatio(1);
    return pixels;
  }

  struct Face {
    QStyleOptionSlider option;
    qreal ratio;
    QPoint device;
    QImage pixels;
    bool same(const QStyleOptionSlider& o, qreal r, QPoint d) const {
      return r == ratio && d == device && o.state == option.state && o.subControls == option.subControls &&
             o.activeSubControls == option.activeSubControls && o.rect.size() == option.rect.size() &&
             o.sliderPosition == option.sliderPosition && o.minimum == option.minimum &&
             o.maximum == option.maximum && o.pageStep == option.pageStep && o.orientation == option.orientation &&
             o.upsideDown == option.upsideDown && o.direction == option.direction &&
             o.palette.cacheKey() == option.palette.cacheKey();
    }
  };
  mutable std::vector<Face> faces_;
};

}  // namespace

// Opaque once the style has polished it, as Fusion clears the attribute on scroll bars: until
// then every change of the bar's face repainted the surface beneath it too.
BarraDesplacament::BarraDesplacament(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
  auto* style = new EstilBarra(QStyleFactory::create(QApplication::style()->name()));
  style->setParent(this);
  setStyle(style);
  ensurePolished();
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void BarraDesplacament::changeEvent(QEvent* event) {
  if (event->type() == QEvent::StyleChange) setAttribute(Qt::WA_OpaquePaintEvent);
  QScrollBar::changeEvent(event);
}

}  // namespace corvani
