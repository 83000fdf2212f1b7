#include "guidata.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "gui/guihandles.h"

namespace tarvolin {
namespace {

using nlohmann::json;

constexpr std::string_view kName = "UsedByGUIData_m";
// Marks a text as an encoded value, so that a plain text stored by other
// means is not taken for one.
constexpr std::string_view kMarker = "tarvolin-value-cbor:";

enum class Kind : int { matrix = 0, text = 1, record = 2, list = 3 };

// Texts go in as bytes: a value's text need not be valid UTF-8.
json bytes(const std::string& text) {
  return json::binary(std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string fromBytes(const json& node) {
  const std::vector<std::uint8_t>& b = node.get_binary();
  return std::string(b.begin(), b.end());
}

json encode(const Value& value) {
  if (value.isNumeric()) {
    const Eigen::MatrixXd& m = value.matrix();
    return json::array({static_cast<int>(Kind::matrix), m.rows(), m.cols(),
                        std::vector<double>(m.data(), m.data() + m.size())});
  }
  if (value.isText()) return json::array({static_cast<int>(Kind::text), bytes(value.text())});
  json items = json::array();
  if (value.isRecord()) {
    for (const auto& [name, field] : value.record()) {
      items.push_back(json::array({bytes(name), encode(field)}));
    }
    return json::array({static_cast<int>(Kind::record), std::move(items)});
  }
  for (const Value& entry : value.list()) items.push_back(encode(entry));
  return json::array({static_cast<int>(Kind::list), std::move(items)});
}

Value decode(const json& node) {
  switch (static_cast<Kind>(node.at(0).get<int>())) {
    case Kind::matrix: {
      Eigen::MatrixXd m(node.at(1).get<Eigen::Index>(), node.at(2).get<Eigen::Index>());
      const json& data = node.at(3);
      for (Eigen::Index i = 0; i < m.size(); ++i) {
        m.data()[i] = data.at(static_cast<size_t>(i)).get<double>();
      }
      return Value(std::move(m));
    }
    case Kind::text:
      return Value(fromBytes(node.at(1)));
    case Kind::record: {
      Value::Record record;
      for (const json& item : node.at(1)) {
        record.emplace_back(fromBytes(item.at(0)), decode(item.at(1)));
      }
      return Value(std::move(record));
    }
    case Kind::list: {
      Value::List list;
      for (const json& item : node.at(1)) list.push_back(decode(item));
      return Value(std::move(list));
    }
  }
  throw GraphicsError(std::string(kName) + " holds a value of unknown kind");
}

}  // namespace

Value guidata(Graphics& graphics, const Value& h) {
  const std::optional<PropertyValue> stored = graphics.getappdata(guiWindowOf(graphics, h), kName);
  if (!stored) return Value();
  if (const double* number = std::get_if<double>(&*stored)) return Value(*number);
  if (const Eigen::MatrixXd* m = std::get_if<Eigen::MatrixXd>(&*stored)) return Value(*m);
  const std::string& text = std::get<std::string>(*stored);
  if (!text.starts_with(kMarker)) return Value(text);
  try {
    return decode(json::from_cbor(text.begin() + static_cast<long>(kMarker.size()), text.end()));
  } catch (const json::exception& e) {
    throw GraphicsError(std::string(kName) + " holds no readable value: " + e.what());
  }
}

void guidata(Graphics& graphics, const Value& h, const Value& data) {
  const Handle window = guiWindowOf(graphics, h);
  std::string encoded(kMarker);
  json::to_cbor(encode(data), encoded);
  graphics.setappdata(window, kName, std::move(encoded));
}

}  // namespace tarvolin
