#pragma once
// The value that calls by name pass around: a numeric matrix (empty, a
// number, a row of handles, ...), a text, a record of named fields, or a
// list. Only the registry, the callback strings and the session scripts deal
// in it; the computing routines take typed arguments.
//
// Example:
//   Value v(2.5);            // a 1 x 1 matrix
//   Value t("LoadData");     // a text
//   Value none;              // the empty matrix []
//   Value::Record handles{{"FileBox", Value(1003.0)}};

#include <Eigen/Core>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tarvolin {

class Value {
 public:
  using Record = std::vector<std::pair<std::string, Value>>;  // fields in order of creation
  using List = std::vector<Value>;

  Value() : data_(Eigen::MatrixXd()) {}
  Value(double number) : data_(Eigen::MatrixXd::Constant(1, 1, number)) {}
  Value(Eigen::MatrixXd matrix) : data_(std::move(matrix)) {}
  Value(std::string text) : data_(std::move(text)) {}
  Value(const char* text) : data_(std::string(text)) {}
  Value(std::string_view text) : data_(std::string(text)) {}
  Value(Record record) : data_(std::move(record)) {}
  Value(List list) : data_(std::move(list)) {}

  bool isNumeric() const { return std::holds_alternative<Eigen::MatrixXd>(data_); }
  bool isText() const { return std::holds_alternative<std::string>(data_); }
  bool isRecord() const { return std::holds_alternative<Record>(data_); }
  bool isList() const { return std::holds_alternative<List>(data_); }
  // The empty matrix [].
  bool isEmpty() const { return isNumeric() && matrix().size() == 0; }
  // A numeric value with exactly one element.
  bool isScalar() const { return isNumeric() && matrix().size() == 1; }

  // Number of elements: of a matrix, of a text's characters, of a list's
  // entries; 1 for a record.
  Eigen::Index numel() const;

  const Eigen::MatrixXd& matrix() const;
  double scalar() const;
  const std::string& text() const;
  const Record& record() const;
  const List& list() const;

  // The field `name` of a record, or nothing.
  const Value* field(std::string_view name) const;

  bool operator==(const Value& other) const;

  // How the console shows the value: a number with up to 10 significant
  // digits, a matrix row by row, a text as it is, a record field by field.
  std::string display() const;

 private:
  std::variant<Eigen::MatrixXd, std::string, Record, List> data_;
};

}  // namespace tarvolin
