// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

// The library's resources are linked only when something asks for them.
static void load_app_icon_resource() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(app_icon);
    return true;
  }();
  (void)loaded;
}

namespace jukora {

namespace {

// Every image is drawn on a 32 x 32 grid. Strokes lie on whole grid lines so
// that they stay crisp at 16, 32, 64 ... pixels.
constexpr double kGrid = 32.0;

using DrawSign = void (*)(QPainter&);

void draw_disc(QPainter& painter) {
  painter.setPen(QPen(QColor(64, 64, 64), 1.0));
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(1.5, 1.5, 29.0, 29.0));
}

void draw_minus(QPainter& painter) { painter.fillRect(QRectF(8, 14, 16, 4), Qt::black); }

void draw_plus(QPainter& painter) {
  painter.fillRect(QRectF(8, 14, 16, 4), Qt::black);
  painter.fillRect(QRectF(14, 8, 4, 16), Qt::black);
}

void draw_arrow(QPainter& painter) {
  painter.fillRect(QRectF(7, 14, 10, 4), Qt::black);
  const QPointF head[] = {{16, 8}, {25, 16}, {16, 24}};
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPolygon(head, 3);
}

void draw_page(QPainter& painter) {
  QPainterPath page;
  page.moveTo(10, 6);
  page.lineTo(19, 6);
  page.lineTo(23, 10);
  page.lineTo(23, 26);
  page.lineTo(10, 26);
  page.closeSubpath();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.drawPath(page);
  for (int y : {12, 16, 20}) painter.fillRect(QRectF(13, y, 7, 2), Qt::black);
}

void draw_capital_m(QPainter& painter) {
  const QPointF outline[] = {{8, 24},  {8, 8},   {12, 8},  {16, 16}, {20, 8},  {24, 8}, {24, 24},
                             {21, 24}, {21, 14}, {17, 22}, {15, 22}, {11, 14}, {11, 24}};
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPolygon(outline, static_cast<int>(std::size(outline)));
}

// Paints the image afresh for every size asked for, so no pixmap is ever
// scaled.
class DrawnIconEngine : public QIconEngine {
 public:
  explicit DrawnIconEngine(DrawSign sign) : sign_(sign) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const double side = std::min(rect.width(), rect.height());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.x() + (rect.width() - side) / 2.0, rect.y() + (rect.height() - side) / 2.0);
    painter->scale(side / kGrid, side / kGrid);
    if (mode == QIcon::Disabled) painter->setOpacity(0.5);
    draw_disc(*painter);
    sign_(*painter);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    painter.end();
    return QPixmap::fromImage(image);
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
  }

  QIconEngine* clone() const override { return new DrawnIconEngine(sign_); }
  QString key() const override { return QStringLiteral("jukora-drawn"); }

 private:
  DrawSign sign_;
};

QIcon drawn(DrawSign sign) { return QIcon(new DrawnIconEngine(sign)); }

}  // namespace

QIcon minus_icon() { return drawn(draw_minus); }
QIcon plus_icon() { return drawn(draw_plus); }
QIcon arrow_icon() { return drawn(draw_arrow); }
QIcon page_icon() { return drawn(draw_page); }
QIcon mode_icon() { return drawn(draw_capital_m); }

QIcon app_icon() {
  load_app_icon_resource();
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/jukora-%1.png").arg(size), QSize(size, size));
  return icon;
}

QIcon window_icon() {
#ifdef _WIN32
  return plus_icon();
#else
  return app_icon();
#endif
}

}  // namespace jukora
