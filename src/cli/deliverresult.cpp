#include <cmath>

#include "cli/clisteps.h"
#include "core/nonfinite.h"
#include "formats/landmarktext.h"

namespace tarvolin {

void deliver(const CliOptions& options, const std::function<void(const TextSink&)>& produce,
             std::ostream& out) {
  if (options.output.empty()) {
    produce([&out](std::string_view piece) {
      out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
    out.flush();
    if (!out) throw OutputError("cannot write the result to standard output");
  } else {
    writefileatomic(options.output, produce);
  }
}

void deliver(const CliOptions& options, const std::string& text, std::ostream& out) {
  deliver(
      options, [&text](const TextSink& write) { write(text); }, out);
}

// A conversion writes every digit it read, ZOR included; a result, six.
void deliverset(const CliOptions& options, const LandmarkSet& set, std::optional<double> lastValue,
                std::ostream& out, bool superimposed) {
  const bool missingKept = options.missing == MissingChoice::keep && set.hasMissing();
  if ((!missingKept && !superimposed && nonfinite(set.coords).any()) ||
      (!missingKept && !set.size.allFinite() && !lastValue) ||
      (lastValue && !std::isfinite(*lastValue))) {
    throw InputError(
        "the result holds numbers too large to represent (is the standard value far outside the "
        "range of x?); nothing was written")
        .concerning(Input::standardValue);
  }
  deliver(
      options,
      [&](const TextSink& write) {
        landmarktext(set, options.to, lastValue, write,
                     superimposed ? ZorDigits::six : ZorDigits::exact);
      },
      out);
}

}  // namespace tarvolin
