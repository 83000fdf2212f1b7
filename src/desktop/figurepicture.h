#pragma once
// The picture of a window's plots: every axes drawn at its place, in one of
// three formats. PNG is a bitmap at twice the window's size, for sharp
// pasting; SVG and PDF draw every marker and line as a vector shape, for
// papers and slides. Each axes is drawn as its window shows it: the same
// view, look, title and legend, at any screen's pixel ratio.
//
// Example:
//   std::vector<PictureArea> areas{{axes, QRectF(0, 0, 560, 420), ViewAngles{}}};
//   QByteArray svg = figurepicture(graphics, areas, QSize(560, 420), PictureFormat::svg);

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <optional>
#include <string_view>
#include <vector>

#include "desktop/renderaxes.h"
#include "document/graphics.h"

namespace tarvolin {

struct PictureArea {
  Handle axes = kRoot;
  QRectF area;  // where the axes stand in the picture, in pixels
  ViewAngles view;
  PlotLook look{};  // as the plot window shows it
};

enum class PictureFormat { png, svg, pdf };

// The format a file name's extension asks for (.png, .svg, .pdf in any
// letter case); nothing for any other.
std::optional<PictureFormat> pictureformat(std::string_view fileName);

QByteArray figurepicture(const Graphics& graphics, const std::vector<PictureArea>& areas,
                         QSize size, PictureFormat format);

}  // namespace tarvolin
