#include "formats/readmrkjson.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

#include "core/errors.h"
#include "core/printable.h"
#include "core/quotedtext.h"
#include "core/sprintf.h"
#include "core/withoutbom.h"
#include "formats/readmarkupfolder.h"
#include "formats/textscan.h"

namespace tarvolin {
namespace {

using nlohmann::json;

// The parser's message without its "[json.exception.parse_error.101] " tag,
// and with the text it last read (a whole unterminated string, perhaps)
// quoted short, its end in sight.
std::string parserMessage(const json::exception& error) {
  std::string what = error.what();
  const size_t tagEnd = what.find("] ");
  if (tagEnd != std::string::npos) what = what.substr(tagEnd + 2);
  constexpr std::string_view lastRead = "last read: '";
  const size_t read = what.find(lastRead);
  if (read == std::string::npos || what.back() != '\'') return printable(what);
  const std::string_view token = std::string_view(what).substr(
      read + lastRead.size(), what.size() - read - lastRead.size() - 1);
  return printable(what.substr(0, read)) + "last read: " + quotedtext(token, token.size());
}

// What a JSON value is, for a message: its kind and size, never its whole
// text (a list nested thousands deep would take as deep a recursion to
// write out, and a screenful to show).
std::string described(const json& value) {
  switch (value.type()) {
    case json::value_t::array:
      return "a list of " + textscan::plural(value.size(), "item");
    case json::value_t::object:
      return "an object of " + textscan::plural(value.size(), "member");
    case json::value_t::string:
      return "the text " + quotedtext(value.get_ref<const std::string&>());
    case json::value_t::boolean:
      return value.get<bool>() ? "true" : "false";
    case json::value_t::null:
      return "null";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float:
      return "the number " + sprintf("%.17g", value.get<double>());
    default:
      return "a value that is no number";
  }
}

// Deeper than a markups file ever nests: a file nested deeper is refused as
// it is read, before it takes memory many times its size.
constexpr int kDeepest = 64;

json parse(std::string_view text, const std::string& fname) {
  const json::parser_callback_t shallow = [&fname](int depth, json::parse_event_t, json&) {
    if (depth > kDeepest) {
      throw InputError(fname, "nests lists and objects more than " + std::to_string(kDeepest) +
                                  " deep; a markups file nests a few");
    }
    return true;
  };
  try {
    return json::parse(text.begin(), text.end(), shallow);
  } catch (const json::parse_error& error) {
    // The line as the parser counts it in its message: line feeds only.
    const size_t before = std::min<size_t>(error.byte > 0 ? error.byte - 1 : 0, text.size());
    const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(before), '\n');
    throw InputError(
        fname, line,
        "is not valid JSON (byte " + std::to_string(error.byte) + "): " + parserMessage(error));
  } catch (const json::exception& error) {
    throw InputError(fname, "is not valid JSON: " + parserMessage(error));
  }
}

const json* member(const json& object, const char* name) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(name);
  return found == object.end() ? nullptr : &*found;
}

bool isEmptyPosition(const json* position) {
  return position == nullptr || position->is_null() ||
         (position->is_string() && position->get_ref<const std::string&>().empty()) ||
         (position->is_array() && position->empty());
}

// The coordinate system a markup declares: "LPS" or "RAS" in any letter
// case; without a declaration LPS, what Slicer has written since the format
// began.
MarkupSystem coordinateSystem(const json& markup, const std::string& fname) {
  const json* declared = member(markup, "coordinateSystem");
  if (declared == nullptr || declared->is_null()) return MarkupSystem::lps;
  if (declared->is_string()) {
    const std::string& name = declared->get_ref<const std::string&>();
    if (textscan::sameWord(name, "lps")) return MarkupSystem::lps;
    if (textscan::sameWord(name, "ras")) return MarkupSystem::ras;
  }
  throw InputError(fname, "the coordinate system is " + described(*declared) +
                              "; Tarvolin reads markups in LPS or RAS");
}

}  // namespace

LandmarkSet readmrkjson(std::string_view text, const std::string& fname,
                        const ReadOptions& options) {
  const json document = parse(withoutbom(text, fname), fname);
  const json* markups = member(document, "markups");
  if (markups == nullptr || !markups->is_array() || markups->empty()) {
    throw InputError(fname, "holds no markups (a \"markups\" list with at least one markup)");
  }
  const json* points = member((*markups)[0], "controlPoints");
  if (points == nullptr || !points->is_array() || points->empty()) {
    throw InputError(fname, "the first markup holds no control points");
  }

  constexpr double missing = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> coords;
  coords.reserve(3 * points->size());
  for (size_t i = 0; i < points->size(); ++i) {
    const json& point = (*points)[i];
    std::string name = "control point " + std::to_string(i + 1);
    const json* label = member(point, "label");
    if (label != nullptr && label->is_string()) {
      name += " (" + quotedtext(label->get_ref<const std::string&>()) + ")";
    }
    if (!point.is_object()) {
      throw InputError(fname, name + " is " + described(point) + ", not a JSON object");
    }

    const json* status = member(point, "positionStatus");
    const json* position = member(point, "position");
    if ((status != nullptr && status->is_string() && *status == "missing") ||
        isEmptyPosition(position)) {
      coords.insert(coords.end(), 3, missing);
      continue;
    }
    if (!position->is_array() || position->size() != 3) {
      throw InputError(fname, name + ": the position is " + described(*position) +
                                  ", not a list of three numbers x, y, z");
    }
    for (size_t c = 0; c < 3; ++c) {
      const json& value = (*position)[c];
      if (!value.is_number()) {
        throw InputError(fname, name + ": coordinate " + std::to_string(c + 1) +
                                    " of the position is " + described(value) + ", not a number");
      }
      const double x = value.get<double>();
      if (!std::isfinite(x)) {
        throw InputError(fname, name + ": coordinate " + std::to_string(c + 1) +
                                    " of the position is not a finite number");
      }
      coords.push_back(options.missingCode && x == *options.missingCode ? missing : x);
    }
  }

  return markupspecimen(coords, fname, coordinateSystem((*markups)[0], fname));
}

}  // namespace tarvolin
