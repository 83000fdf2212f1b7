#include "formats/readgroups.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/quotedtext.h"
#include "core/readtextfile.h"
#include "core/texthelpers.h"
#include "core/withoutbom.h"
#include "formats/readtablecolumn.h"
#include "formats/tablecolumnnamed.h"

namespace tarvolin {
namespace {

std::string readWhole(const std::string& path) {
  std::string text;
  std::string reason;
  if (!readtextfile(path, text, reason)) throw InputError(path, "cannot be read: " + reason);
  return text;
}

// The labels of a list file, one per line in the specimens' order.
std::vector<std::string> listLabels(const std::string& path, size_t specimens) {
  const std::string text = readWhole(path);
  std::string_view rest = withoutbom(text, path);
  const char lineEnd = lineendof(rest);
  std::vector<std::string> labels;
  long firstEmpty = 0;  // the line of the first empty label not yet followed by one
  for (long line = 1; !rest.empty(); ++line) {
    const size_t end = std::min(rest.find(lineEnd), rest.size());
    std::string_view label = trimmed(rest.substr(0, end));
    // The other of CR and LF (the CR of CRLF) is a blank at either end.
    while (!label.empty() && (label.back() == '\r' || label.back() == '\n')) {
      label = trimmed(label.substr(0, label.size() - 1));
    }
    while (!label.empty() && (label.front() == '\r' || label.front() == '\n')) {
      label = trimmed(label.substr(1));
    }
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (label.empty()) {
      if (firstEmpty == 0) firstEmpty = line;
      continue;
    }
    if (firstEmpty != 0) {
      throw InputError(path, firstEmpty,
                       "the line is empty; each specimen needs a group label, one per line");
    }
    labels.emplace_back(label);
  }
  if (labels.size() != specimens) {
    throw InputError(path, "the file holds " + std::to_string(labels.size()) +
                               (labels.size() == 1 ? " label" : " labels") + " for " +
                               std::to_string(specimens) +
                               " specimens; a group list needs one label per specimen");
  }
  return labels;
}

// The labels of a table's column, matched to the specimens by ID.
std::vector<std::string> tableLabels(const std::string& path, const std::string& column,
                                     const std::vector<std::string>& ids) {
  detail::TableColumn read = detail::readtablecolumn(
      path, column, ids,
      [&path](const detail::TableColumn& c, std::string_view text, long line,
              const std::string& id) {
        if (!trimmed(text).empty()) return;
        throw InputError(path, line,
                         "specimen " + quotedtext(id) + ": the column \"" + c.name +
                             "\" is empty; each specimen needs a group label");
      });
  std::vector<std::string> labels;
  labels.reserve(read.texts.size());
  for (const std::string& text : read.texts) labels.emplace_back(trimmed(text));
  return labels;
}

}  // namespace

SpecimenGroups readgroups(const std::string& given, const std::vector<std::string>& ids) {
  SpecimenGroups groups;
  std::vector<std::string> labels;
  if (const std::optional<TableColumnName> named = tablecolumnnamed(given)) {
    groups.source = named->table;
    labels = tableLabels(groups.source, named->column, ids);
  } else {
    groups.source = given;
    labels = listLabels(given, ids.size());
  }

  std::unordered_map<std::string, int> indexOf;
  groups.of.reserve(labels.size());
  for (std::string& label : labels) {
    const auto [at, added] = indexOf.emplace(label, static_cast<int>(groups.names.size()));
    if (added) groups.names.push_back(std::move(label));
    groups.of.push_back(at->second);
  }
  return groups;
}

}  // namespace tarvolin
