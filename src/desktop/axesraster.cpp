#include <cmath>
#include <limits>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

// Every channel of a premultiplied colour times alpha / 255.
inline std::uint32_t fade(std::uint32_t argb, std::uint32_t alpha) {
  std::uint32_t rb = (argb & 0x00ff00ffu) * alpha;
  rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
  std::uint32_t ag = ((argb >> 8) & 0x00ff00ffu) * alpha;
  ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
  return rb + ag;
}

// Source over destination, both premultiplied ARGB.
inline std::uint32_t blend(std::uint32_t src, std::uint32_t dst) {
  const std::uint32_t inverse = 255 - (src >> 24);
  std::uint32_t rb = (dst & 0x00ff00ffu) * inverse;
  rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
  std::uint32_t ag = ((dst >> 8) & 0x00ff00ffu) * inverse;
  ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
  return src + rb + ag;
}

// `alpha` (0 to 255) fades the whole marker, as a painter's opacity would.
Sprite makesprite(const PlotStyle& style, double size, const MarkerPen& pen, int alpha,
                  std::ptrdiff_t stride) {
  const int side =
      (static_cast<int>(std::ceil(std::max(size, 1.0) * 1.3 + 2 * pen.width + 4 * pen.rim)) + 4) |
      1;
  const int mid = side / 2;
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawmarkerwith(painter, QPointF(mid + 0.5, mid + 0.5), style, size, pen);
  }
  Sprite sprite;
  for (int y = 0; y < side; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < side; ++x) {
      std::uint32_t argb = row[x];
      if (alpha < 255) argb = fade(argb, static_cast<std::uint32_t>(alpha));
      if (argb == 0) continue;
      const int dx = x - mid, dy = y - mid;
      sprite.dots.push_back({dx, dy, argb, static_cast<std::ptrdiff_t>(dy) * stride + dx});
      sprite.reach = std::max({sprite.reach, std::abs(dx), std::abs(dy)});
    }
  }
  const auto translucent =
      std::stable_partition(sprite.dots.begin(), sprite.dots.end(),
                            [](const Sprite::Dot& dot) { return dot.argb >> 24 == 255; });
  sprite.opaque = static_cast<size_t>(translucent - sprite.dots.begin());
  return sprite;
}

StampMarks& stampmarks(size_t pixels, size_t runs) {
  thread_local StampMarks marks;
  if (marks.run.size() != pixels ||
      marks.last > std::numeric_limits<std::uint32_t>::max() - runs - 2) {
    marks.run.assign(pixels, 0);
    marks.last = 0;
  }
  return marks;
}

}  // namespace

Stamper::Stamper(QImage& image, const QRect& clip, const QRectF& region, size_t objects)
    : bits_(reinterpret_cast<std::uint32_t*>(image.bits())),
      stride_(image.bytesPerLine() / 4),
      clip_(clip),
      marks_(stampmarks(static_cast<size_t>(clip.width()) * static_cast<size_t>(clip.height()),
                        objects)) {
  // The region, cut to whole pixels of the clip.
  left_ = std::max(region.left(), static_cast<double>(clip.left()));
  top_ = std::max(region.top(), static_cast<double>(clip.top()));
  right_ = std::min(region.right(), static_cast<double>(clip.right() + 1));
  bottom_ = std::min(region.bottom(), static_cast<double>(clip.bottom() + 1));
}

const Sprite& Stamper::sprite(const PlotStyle& style, double size, const MarkerPen& pen,
                              int alpha) {
  const auto key = std::make_tuple(style.colour.rgba(), style.marker, size, pen, alpha);
  auto found = sprites_.find(key);
  if (found == sprites_.end()) {
    found = sprites_.emplace(key, makesprite(style, size, pen, alpha, stride_)).first;
  }
  return found->second;
}

void Stamper::stamp(const AxesLayout& layout, const GraphicsObject& line, const Sprite& sprite) {
  const Eigen::Index n = line.xdata.size();
  const double* xs = line.xdata.data();
  const double* ys = line.ydata.data();
  const double* zs = line.zdata.size() == n ? line.zdata.data() : nullptr;
  const double a00 = layout.toDevice(0, 0), a01 = layout.toDevice(0, 1),
               a02 = layout.toDevice(0, 2), a10 = layout.toDevice(1, 0),
               a11 = layout.toDevice(1, 1), a12 = layout.toDevice(1, 2);
  const double o0 = layout.offset(0), o1 = layout.offset(1);
  const std::uint32_t run = marks_.last;
  std::uint32_t* marks = marks_.run.data();
  const int clipLeft = clip_.left(), clipTop = clip_.top(), clipWidth = clip_.width();
  const int innerLeft = clipLeft + sprite.reach, innerRight = clip_.right() - sprite.reach;
  const int innerTop = clipTop + sprite.reach, innerBottom = clip_.bottom() - sprite.reach;
  for (Eigen::Index i = 0; i < n; ++i) {
    const double x = xs[i], y = ys[i], z = zs ? zs[i] : 0;
    const double px = a00 * x + a01 * y + a02 * z + o0;
    const double py = a10 * x + a11 * y + a12 * z + o1;
    if (!(px >= left_ && px < right_ && py >= top_ && py < bottom_)) continue;
    const int ix = static_cast<int>(px), iy = static_cast<int>(py);  // both >= 0
    std::uint32_t& mark = marks[static_cast<size_t>(iy - clipTop) * static_cast<size_t>(clipWidth) +
                                static_cast<size_t>(ix - clipLeft)];
    if (mark == run) continue;
    mark = run;
    std::uint32_t* at = bits_ + static_cast<std::ptrdiff_t>(iy) * stride_ + ix;
    if (ix >= innerLeft && ix <= innerRight && iy >= innerTop && iy <= innerBottom) {
      const Sprite::Dot* dots = sprite.dots.data();
      const size_t count = sprite.dots.size();
      for (size_t d = 0; d < sprite.opaque; ++d) at[dots[d].offset] = dots[d].argb;
      for (size_t d = sprite.opaque; d < count; ++d) {
        at[dots[d].offset] = blend(dots[d].argb, at[dots[d].offset]);
      }
    } else {
      for (const Sprite::Dot& dot : sprite.dots) {
        if (clip_.contains(ix + dot.dx, iy + dot.dy)) {
          at[dot.offset] = blend(dot.argb, at[dot.offset]);
        }
      }
    }
  }
}

// The image the painter draws on, when markers may be stamped into it.
QImage* stampableimage(const QPainter& painter) {
  QPaintDevice* device = painter.device();
  if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
  auto* image = dynamic_cast<QImage*>(device);
  if (image == nullptr || image->format() != QImage::Format_ARGB32_Premultiplied) return nullptr;
  if (image->devicePixelRatio() != 1 || !painter.deviceTransform().isIdentity()) return nullptr;
  if (painter.hasClipping() || painter.opacity() < 1 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
    return nullptr;
  }
  return image;
}

}  // namespace axesdrawing

}  // namespace tarvolin
