// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the Windows program's icon files: the five button images as 16-colour
// icons (32 x 32, and 16 x 16 for the tray at its usual size), drawn by the
// same code as the Qt program's, and the program's own icon from its PNGs.
// Usage: windows_icons <output folder>
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "shell/icons.h"

namespace {

// The sixteen colours every Windows display has had since VGA.
constexpr std::array<QRgb, 16> kPalette = {
    qRgb(0, 0, 0),     qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),  qRgb(0, 0, 128), qRgb(128, 0, 128),
    qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0),    qRgb(0, 255, 0), qRgb(255, 255, 0),
    qRgb(0, 0, 255),   qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(255, 255, 255)};

void put16(QByteArray& out, unsigned value) {
  out.append(char(value & 0xff));
  out.append(char((value >> 8) & 0xff));
}
void put32(QByteArray& out, std::uint32_t value) {
  put16(out, value & 0xffff);
  put16(out, value >> 16);
}

int nearest(QRgb colour) {
  int best = 0;
  long best_distance = -1;
  for (int i = 0; i < 16; ++i) {
    const long dr = qRed(colour) - qRed(kPalette[i]), dg = qGreen(colour) - qGreen(kPalette[i]),
               db = qBlue(colour) - qBlue(kPalette[i]);
    const long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
  }
  return best;
}

// One 4-bit image as an icon file stores it: the header, the palette, the
// colour rows and the transparency mask, both bottom-up.
QByteArray four_bit_image(const QImage& image) {
  const int side = image.width();
  const int colour_row = ((side * 4 + 31) / 32) * 4, mask_row = ((side + 31) / 32) * 4;
  QByteArray out;
  put32(out, 40);
  put32(out, side);
  put32(out, side * 2);
  put16(out, 1);
  put16(out, 4);
  put32(out, 0);
  put32(out, (colour_row + mask_row) * side);
  put32(out, 0);
  put32(out, 0);
  put32(out, 16);
  put32(out, 0);
  for (QRgb colour : kPalette) {
    out.append(char(qBlue(colour)));
    out.append(char(qGreen(colour)));
    out.append(char(qRed(colour)));
    out.append('\0');
  }
  QByteArray colours(colour_row * side, '\0'), mask(mask_row * side, '\0');
  for (int y = 0; y < side; ++y) {
    const int row = side - 1 - y;
    for (int x = 0; x < side; ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qAlpha(pixel) < 128) {
        mask[row * mask_row + x / 8] = char(mask[row * mask_row + x / 8] | (0x80 >> (x % 8)));
        continue;
      }
      const int index = nearest(pixel);
      char& byte = colours[row * colour_row + x / 2];
      byte = char(byte | (x % 2 ? index : index << 4));
    }
  }
  return out + colours + mask;
}

struct Entry {
  int side;
  int colours;  // 0: more than 256
  int bits;
  QByteArray data;
};

bool write_icon(const QString& path, const std::vector<Entry>& entries) {
  QByteArray out;
  put16(out, 0);
  put16(out, 1);
  put16(out, static_cast<unsigned>(entries.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
  for (const Entry& entry : entries) {
    out.append(char(entry.side >= 256 ? 0 : entry.side));
    out.append(char(entry.side >= 256 ? 0 : entry.side));
    out.append(char(entry.colours));
    out.append('\0');
    put16(out, 1);
    put16(out, entry.bits);
    put32(out, static_cast<std::uint32_t>(entry.data.size()));
    put32(out, offset);
    offset += static_cast<std::uint32_t>(entry.data.size());
  }
  for (const Entry& entry : entries) out += entry.data;
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

QImage drawn(const QIcon& icon, int side) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  icon.paint(&painter, image.rect());
  painter.end();
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: windows_icons <output folder>\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const std::pair<const char*, QIcon> buttons[] = {{"plus.ico", jukora::plus_icon()},
                                                   {"minus.ico", jukora::minus_icon()},
                                                   {"arrow.ico", jukora::arrow_icon()},
                                                   {"page.ico", jukora::page_icon()},
                                                   {"mode.ico", jukora::mode_icon()}};
  for (const auto& [name, icon] : buttons) {
    std::vector<Entry> entries;
    for (int side : {32, 16}) entries.push_back({side, 16, 4, four_bit_image(drawn(icon, side))});
    if (!write_icon(out.filePath(name), entries)) return 1;
  }
  // The program's icon, as Explorer, the Start menu and the installer show it.
  std::vector<Entry> entries;
  const QIcon program = jukora::app_icon();
  for (int side : {16, 24, 32, 48, 64, 256}) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    program.pixmap(side, side).toImage().save(&buffer, "PNG");
    entries.push_back({side, 0, 32, png});
  }
  return write_icon(out.filePath("jukora.ico"), entries) ? 0 : 1;
}
