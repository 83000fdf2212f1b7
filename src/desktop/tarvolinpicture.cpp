// tarvolin-picture: the module tarvolin-cli loads to draw a picture (see
// runtime/picturemodule.h). Only its entry is visible from outside; the
// libraries it holds stay its own.

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <type_traits>

#include "core/writefileatomic.h"
#include "desktop/figurepicture.h"
#include "runtime/picturemodule.h"

namespace {

void say(const std::string& text, char* message, std::size_t room) {
  if (room == 0) return;
  const std::size_t n = std::min(text.size(), room - 1);
  std::memcpy(message, text.data(), n);
  message[n] = '\0';
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int tarvolin_writepicture(
    const tarvolin::Graphics* graphics, double axes, int width, int height, const char* path,
    const char* version, char* message, std::size_t room) {
  using namespace tarvolin;
  // The entry must match the type the caller looks it up as.
  static_assert(std::is_same_v<decltype(&tarvolin_writepicture), WritePictureEntry>);
  const std::string file = path;
  try {
    if (version != picturemodulebuild()) {
      say(file + ": the picture module is of Tarvolin " + picturemodulebuild() +
              ", the program of " + std::string(version) + "; install them together",
          message, room);
      return 1;
    }
    const std::optional<PictureFormat> format = pictureformat(file);
    if (!format) {
      say(file + ": a picture is saved as .png, .svg or .pdf", message, room);
      return 1;
    }
    // Text needs an application's fonts; no display is needed or looked for.
    static int argc = 3;
    static char program[] = "tarvolin-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {program, option, platform, nullptr};
    // Qt's notes about the session it runs in (no XDG_RUNTIME_DIR, say) are
    // not the command's to print: its standard error is for its own messages.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
          if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "tarvolin-cli: Qt: %s\n", text.toLocal8Bit().constData());
          }
        });
    struct Restore {
      QtMessageHandler handler;
      ~Restore() { qInstallMessageHandler(handler); }
    } restore{previous};
    std::optional<QGuiApplication> application;
    if (QCoreApplication::instance() == nullptr) application.emplace(argc, argv);
    const QSize size(width, height);
    const QByteArray bytes = figurepicture(
        *graphics, {{Handle(axes), QRectF(QPointF(0, 0), QSizeF(size)), ViewAngles{}, PlotLook{}}},
        size, *format);
    writefileatomic(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    return 0;
  } catch (const std::exception& e) {
    say(e.what(), message, room);
    return 1;
  } catch (...) {
    // Nothing may cross into the program, which knows none of our types.
    say(file + ": the picture could not be drawn", message, room);
    return 1;
  }
}
