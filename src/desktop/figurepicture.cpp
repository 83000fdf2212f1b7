#include "desktop/figurepicture.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <string>

namespace tarvolin {
namespace {

// The bitmap is drawn at twice the window's size.
constexpr int kBitmapScale = 2;

void drawAreas(QPainter& painter, const Graphics& graphics, const std::vector<PictureArea>& areas,
               double scale) {
  for (const PictureArea& a : areas) {
    if (!graphics.isValid(a.axes)) continue;
    const QRectF area(a.area.topLeft() * scale, a.area.size() * scale);
    renderaxes(painter, area, graphics, a.axes, a.view, scale, a.look);
  }
}

}  // namespace

std::optional<PictureFormat> pictureformat(std::string_view fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string extension(fileName.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "png") return PictureFormat::png;
  if (extension == "svg") return PictureFormat::svg;
  if (extension == "pdf") return PictureFormat::pdf;
  return std::nullopt;
}

QByteArray figurepicture(const Graphics& graphics, const std::vector<PictureArea>& areas,
                         QSize size, PictureFormat format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  switch (format) {
    case PictureFormat::png: {
      QImage image(size * kBitmapScale, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        drawAreas(painter, graphics, areas, kBitmapScale);
      }
      image.save(&buffer, "PNG");
      break;
    }
    case PictureFormat::svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(size);
      svg.setViewBox(QRect(QPoint(0, 0), size));
      svg.setTitle("Tarvolin plot");
      QPainter painter(&svg);
      drawAreas(painter, graphics, areas, 1);
      break;
    }
    case PictureFormat::pdf: {
      QPdfWriter pdf(&buffer);
      pdf.setCreator("Tarvolin");
      pdf.setResolution(96);
      pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));  // one pixel per point
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      QPainter painter(&pdf);
      // The page is measured in device units of 1/96 inch; scale the window's
      // pixels onto it whole.
      const double scale = pdf.width() / static_cast<double>(size.width());
      painter.scale(scale, scale);
      drawAreas(painter, graphics, areas, 1);
      break;
    }
  }
  return bytes;
}

}  // namespace tarvolin
