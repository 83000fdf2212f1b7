#include "document/openfig.h"

#include <filesystem>
#include <optional>

#include "document/hgload.h"
#include "document/movegui.h"
#include "document/value.h"

namespace tarvolin {
namespace {

constexpr std::string_view kWindowKey = "OpenfigSingletonKey";
constexpr size_t kMaxKeyLength = 31;

struct FileParts {
  std::string folder;
  std::string base;
  std::string extension;  // with its dot, or empty
};

// The last "/" ends the folder; the last "." of the rest starts the extension.
FileParts fileparts(const std::string& filename) {
  FileParts parts;
  std::string name = filename;
  if (const size_t slash = filename.rfind('/'); slash != std::string::npos) {
    parts.folder = slash == 0 ? "/" : filename.substr(0, slash);
    name = filename.substr(slash + 1);
  }
  if (const size_t dot = name.rfind('.'); dot != std::string::npos) {
    parts.extension = name.substr(dot);
    name.resize(dot);
  }
  parts.base = name;
  return parts;
}

std::vector<Handle> storedRow(const Graphics& graphics, const std::string& key) {
  const std::optional<Value> stored = graphics.getappdata(kRoot, key);
  if (!stored || !stored->isNumeric()) return {};
  const Eigen::MatrixXd& row = stored->matrix();
  return std::vector<Handle>(row.data(), row.data() + row.size());
}

bool openedFor(const Graphics& graphics, Handle h, const std::string& key) {
  if (!graphics.isValid(h) || graphics.object(h).type != ObjectType::figure) return false;
  const std::optional<Value> mark = graphics.getappdata(h, kWindowKey);
  return mark && *mark == Value(key);
}

std::vector<Handle> openWindows(const Graphics& graphics, const std::string& key) {
  std::vector<Handle> open;
  for (Handle h : storedRow(graphics, key)) {
    if (openedFor(graphics, h, key)) open.push_back(h);
  }
  return open;
}

Handle load(Graphics& graphics, const std::string& path, const std::string& key) {
  const Handle fig = hgload(graphics, path);
  graphics.setappdata(fig, kWindowKey, key);
  return fig;
}

}  // namespace

std::string openfigSingletonKey(std::string_view baseName) {
  std::string key = std::string(baseName) + "_SINGLETON_handle";
  if (key.size() > kMaxKeyLength) key.resize(kMaxKeyLength);
  return key;
}

std::vector<Handle> openfigWindows(const Graphics& graphics, std::string_view baseName) {
  return openWindows(graphics, openfigSingletonKey(baseName));
}

Handle openfig(Graphics& graphics, const std::string& filename, const std::string& policy,
               const std::string& searchFolder) {
  FileParts parts = fileparts(filename);
  if (parts.extension.empty()) parts.extension = ".fig";
  if (parts.extension != ".fig") throw GraphicsError("Argument must be a .fig file");

  const std::filesystem::path folder = parts.folder.empty() ? searchFolder : parts.folder;
  const std::string path = (folder / (parts.base + parts.extension)).string();
  const std::string key = openfigSingletonKey(parts.base);
  std::vector<Handle> windows = openWindows(graphics, key);

  Handle fig = kRoot;
  if (policy == "new") {
    fig = load(graphics, path, key);
    windows.push_back(fig);
  } else if (policy == "reuse") {
    if (windows.empty()) windows.push_back(load(graphics, path, key));
    fig = windows.back();
  } else {
    throw GraphicsError("Second input argument must be 'new' or 'reuse'.");
  }
  Eigen::MatrixXd numbers(1, static_cast<Eigen::Index>(windows.size()));
  for (size_t i = 0; i < windows.size(); ++i) {
    numbers(0, static_cast<Eigen::Index>(i)) = windows[i].value();
  }
  graphics.setappdata(kRoot, key, std::move(numbers));

  const std::vector<Value> placement{Value(fig.value()), Value("onscreen")};
  movegui(graphics, placement);
  if (graphics.getString(fig, "Visible") == "on") graphics.figure(fig);
  return fig;
}

}  // namespace tarvolin
