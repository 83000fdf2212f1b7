#pragma once
// The picture module, tarvolin-picture: the desktop's picture code (Qt) in a
// shared object of its own, which tarvolin-cli loads only when it draws a
// picture (--plot), so that its other commands start without Qt and its
// memory.
//
// The module exports one function, kWritePictureEntry, of type
// WritePictureEntry: it draws axes `axes` (a handle's number) of `graphics`
// into a picture of width x height pixels, in the format the extension of
// `path` names (.svg, .png, .pdf), on Qt's offscreen platform, and writes it
// to `path` whole or not at all. `version` is the caller's
// picturemodulebuild(): a module of another version, or built with another
// layout of the document they share, is refused. Returns 0 when written; otherwise
// puts what went wrong, naming the file, into `message` (at most room - 1
// characters and a terminating zero) and returns 1.
//
// picturemodulepath: where a program finds the module, relative to itself,
// as its figure files: PREFIX/lib/tarvolin/tarvolin-picture.so for a program
// in PREFIX/bin (build/ci/bin/tarvolin-cli finds build/ci/lib/tarvolin/...,
// /usr/bin/tarvolin-cli /usr/lib/tarvolin/...).
//
// Example:
//   picturemodulepath("/usr/bin/tarvolin-cli")  // "/usr/lib/tarvolin/tarvolin-picture.so"

#include <cstddef>
#include <filesystem>
#include <string>

#include "document/graphics.h"

namespace tarvolin {

using WritePictureEntry = int (*)(const Graphics* graphics, double axes, int width, int height,
                                  const char* path, const char* version, char* message,
                                  std::size_t room);

inline constexpr char kWritePictureEntry[] = "tarvolin_writepicture";

std::filesystem::path picturemodulepath(const std::filesystem::path& program);

// The version, and the sizes of the document's objects: the module reads the
// program's document, which it can only do when both were built alike.
inline std::string picturemodulebuild() {
  return std::string(TARVOLIN_VERSION) + " (document " + std::to_string(sizeof(Graphics)) + "/" +
         std::to_string(sizeof(GraphicsObject)) + "/" + std::to_string(sizeof(ObjectDetails)) + ")";
}

}  // namespace tarvolin
