#include "formats/hasrownames.h"

#include "formats/delimitedtext.h"

namespace tarvolin::detail {

bool hasrownames(std::string_view text, char delimiter, const std::string& fname) {
  DelimitedText rows(text, delimiter, fname);
  if (!rows.nextLine()) return false;
  DelimitedText::Field field;
  size_t names = 0;
  for (; rows.nextField(field); ++names) {
    if (!field.quoted) return false;
  }
  if (!rows.nextLine() || !rows.nextField(field) || !field.quoted) return false;
  // Counted no further than one past the names: a row of a million fields
  // is not walked through here.
  size_t fields = 1;
  while (fields <= names + 1 && rows.nextField(field)) ++fields;
  return fields == names + 1;
}

}  // namespace tarvolin::detail
