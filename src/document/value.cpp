#include "document/value.h"

#include <stdexcept>

#include "core/sprintf.h"

namespace tarvolin {
namespace {

[[noreturn]] void wrongKind(const char* wanted) {
  throw std::invalid_argument(std::string("the value is not ") + wanted);
}

}  // namespace

Eigen::Index Value::numel() const {
  if (isNumeric()) return matrix().size();
  if (isText()) return static_cast<Eigen::Index>(text().size());
  if (isList()) return static_cast<Eigen::Index>(list().size());
  return 1;
}

const Eigen::MatrixXd& Value::matrix() const {
  if (const auto* m = std::get_if<Eigen::MatrixXd>(&data_)) return *m;
  wrongKind("numeric");
}

double Value::scalar() const {
  if (!isScalar()) wrongKind("a single number");
  return matrix()(0, 0);
}

const std::string& Value::text() const {
  if (const auto* t = std::get_if<std::string>(&data_)) return *t;
  wrongKind("a text");
}

const Value::Record& Value::record() const {
  if (const auto* r = std::get_if<Record>(&data_)) return *r;
  wrongKind("a record");
}

const Value::List& Value::list() const {
  if (const auto* l = std::get_if<List>(&data_)) return *l;
  wrongKind("a list");
}

const Value* Value::field(std::string_view name) const {
  if (!isRecord()) return nullptr;
  for (const auto& [fieldName, value] : record()) {
    if (fieldName == name) return &value;
  }
  return nullptr;
}

bool Value::operator==(const Value& other) const {
  if (data_.index() != other.data_.index()) return false;
  if (isNumeric()) {
    const Eigen::MatrixXd& a = matrix();
    const Eigen::MatrixXd& b = other.matrix();
    return a.rows() == b.rows() && a.cols() == b.cols() && a == b;
  }
  if (isText()) return text() == other.text();
  if (isList()) return list() == other.list();
  return record() == other.record();
}

std::string Value::display() const {
  if (isText()) return text();
  if (isNumeric()) {
    const Eigen::MatrixXd& m = matrix();
    if (m.size() == 0) return "[]";
    if (m.size() == 1) return sprintf("%.10g", m(0, 0));
    std::string out;
    for (Eigen::Index r = 0; r < m.rows(); ++r) {
      out += '\n';
      for (Eigen::Index c = 0; c < m.cols(); ++c) out += sprintf("  %.10g", m(r, c));
    }
    return out;
  }
  std::string out;
  if (isList()) {
    for (const Value& v : list()) out += "\n  " + v.display();
    return out.empty() ? "{}" : out;
  }
  for (const auto& [name, value] : record()) out += "\n  " + name + ": " + value.display();
  return out;
}

}  // namespace tarvolin
