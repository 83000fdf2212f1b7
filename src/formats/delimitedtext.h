#pragma once
// The fields of a delimited text (CSV, semicolon- or tab-separated), line
// by line, shared by the readers of row tables, .fcsv files and covariate
// tables; the delimiter of such a text; a coordinate field of one.
//
// Example:
//   detail::DelimitedText rows(text, detail::tabledelimiter(text), "a.csv");
//   detail::DelimitedText::Field field;
//   while (rows.nextLine()) while (rows.nextField(field)) use(field.value());

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/readcoordinate.h"

namespace tarvolin {

namespace detail {

// The delimiter of a table, from its first line that is not blank (quoted
// text aside): tab, else semicolon, else comma; a blank when that line is
// quoted names apart by blanks alone ("x1" "y1" ..., as R's write.table
// writes a table), where a run of blanks parts two fields.
char tabledelimiter(std::string_view text);

// The fields of a delimited text, line by line, shared by the readers of
// row tables, .fcsv files and covariate tables. Lines holding only blanks
// are skipped; a quoted field must close on its own line.
class DelimitedText {
 public:
  struct Field {
    std::string_view text;  // without the blanks around it and without its quotes
    bool doubledQuotes = false;
    bool quoted = false;
    // The field's text with each "" inside quotes turned into ".
    std::string value() const;
  };

  // A UTF-8 byte order mark at the start of the text (spreadsheets write
  // one) is passed over; a UTF-16 text is an InputError. Lines end in the
  // text's own line end (lineendof).
  DelimitedText(std::string_view text, char delimiter, const std::string& fname);

  // Moves to the next line that is not blank; false at the end of the text.
  bool nextLine();
  // The 1-based number of the current line.
  long line() const { return line_; }
  // How many fields of the current line nextField has read.
  long fieldsRead() const { return fieldsRead_; }
  // The first character of the current line's text not yet read, blanks
  // aside; '\0' at its end.
  char peek() const;
  // Reads the next field of the current line; false once the line has no
  // more. A quote left open or text after a closing quote is an InputError.
  bool nextField(Field& field);
  // Reads up to `count` fields that are plain decimal numbers (a point, or
  // when decimalComma a comma, before the fraction) into out[0],
  // out[stride], ...; stops, having read nothing of it, at the first field
  // of another kind, which nextField then reads. Returns the count read.
  // Faster than nextField and parsing, for the bulk of a table's numbers.
  long nextPlainNumbers(double* out, std::ptrdiff_t stride, long count, bool decimalComma);
  // The current line's text not yet read, which the reading moves past.
  std::string_view restOfLine();

 private:
  // The other of CR and LF than the text's line end is a blank too: a stray
  // CR inside the lines of an LF file, the final LF of a CR file.
  bool isBlank(char c) const {
    return c == ' ' || (c == '\t' && delimiter_ != '\t') ||
           ((c == '\r' || c == '\n') && c != lineEnd_);
  }
  void moveToNextLine();

  std::string_view text_;
  std::string fname_;
  char delimiter_;
  char lineEnd_;  // the text's own (lineendof)
  size_t pos_ = 0;
  long line_ = 0;
  long fieldsRead_ = 0;
  bool moreFields_ = false;
};

// A coordinate field by readcoordinate's rules, where an empty field is
// missing too and, when decimalComma, a comma may stand for the point.
Coordinate tablecoordinate(std::string_view field, bool decimalComma, const ReadOptions& options);

}  // namespace detail

}  // namespace tarvolin
