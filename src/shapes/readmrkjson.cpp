#include "readmrkjson.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

#include "platform/errors.h"
#include "readmarkupfolder.h"

namespace tarvolin {
namespace {

using nlohmann::json;

// The parser's message without its "[json.exception.parse_error.101] " tag.
std::string parserMessage(const json::exception& error) {
  const std::string what = error.what();
  const size_t tagEnd = what.find("] ");
  return tagEnd == std::string::npos ? what : what.substr(tagEnd + 2);
}

json parse(std::string_view text, const std::string& fname) {
  try {
    return json::parse(text.begin(), text.end());
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

}  // namespace

LandmarkSet readmrkjson(std::string_view text, const std::string& fname,
                        const ReadOptions& options) {
  const json document = parse(text, fname);
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
      name += " (\"" + label->get<std::string>() + "\")";
    }
    if (!point.is_object()) throw InputError(fname, name + " is not a JSON object");

    const json* status = member(point, "positionStatus");
    const json* position = member(point, "position");
    if ((status != nullptr && status->is_string() && *status == "missing") ||
        isEmptyPosition(position)) {
      coords.insert(coords.end(), 3, missing);
      continue;
    }
    if (!position->is_array() || position->size() != 3) {
      throw InputError(fname, name + ": the position " + position->dump().substr(0, 40) +
                                  " is not a list of three numbers x, y, z");
    }
    for (size_t c = 0; c < 3; ++c) {
      const json& value = (*position)[c];
      if (!value.is_number()) {
        throw InputError(fname, name + ": coordinate " + std::to_string(c + 1) +
                                    " of the position, " + value.dump().substr(0, 40) +
                                    ", is not a number");
      }
      const double x = value.get<double>();
      if (!std::isfinite(x)) {
        throw InputError(fname, name + ": coordinate " + std::to_string(c + 1) +
                                    " of the position is not a finite number");
      }
      coords.push_back(options.missingCode && x == *options.missingCode ? missing : x);
    }
  }

  return markupspecimen(coords, fname);
}

}  // namespace tarvolin
