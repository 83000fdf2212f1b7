#pragma once
// Reads a row table of landmarks: one specimen per row, as spreadsheets and R
// write them (CSV, semicolon- or tab-separated).
//
// The format: each row holds the specimen's ID, then its coordinates X1 Y1
// [Z1] X2 Y2 [Z2] ..., then optionally its size. The first line's
// delimiter is the table's: a tab if it holds one, else a semicolon if it
// holds one (then a decimal comma is allowed, 1,5 meaning 1.5), else a
// comma. Fields may be quoted with double quotes ("a, b" keeps its comma;
// "" inside quotes is a quote) and may have blanks around them. Blank lines
// are skipped; lines end in the text's own line end (lineendof: LF, CRLF or
// CR). The first row is a header when any of its fields after the first is
// not a number.
//
//   specimen,x1,y1,z1,x2,y2,z2,size
//   "skull, left",1.0,2.0,3.0,4.0,5.0,6.5,2.9
//   skull_b,1.1,NA,3.0,4.1,5.2,6.4,3.0
//
// A header places the columns by their names (see tablecolumns.h): x1, y1,
// z1, ... in any order, X_1, lm1_x and the like; a z-named column makes the
// table 3D, x and y alone 2D; a last column named size, cs or centroid size
// (any case) is the size column; the first column holds the IDs unless its
// name is a coordinate's. Without a header the first column holds the IDs
// only when one of its fields is not a number: rows of numbers alone (as
// spreadsheets in decimal-comma locales write ZOR rows, with semicolons)
// are read as ZOR rows are, with IDs "1", "2", ...; the dimension is
// options.dims, else 3, and a value count that is one more than a multiple
// of it ends in a size.
//
// text:    the whole file in memory.
// fname:   names the file in errors and becomes set.path.
// options: the dimension when the header does not give it, and the code of a
//          missing coordinate.
// Returns the set of N specimens (one per data row, in row order) with k
// landmarks: coords N x dk, where a landmark with a coordinate that is NA,
// NaN, empty or equal to options.missingCode is all NaN and flagged
// missing; size from the size column (sizeGiven) or computed. An InputError
// names the file and the line, and the specimen where it applies: a row
// whose field count differs from the first row's, a coordinate that is not
// a number, a size that is not a finite number, an empty or duplicated ID,
// a value count that does not make landmarks, a table with no data row or
// no coordinate column, a header tablecolumns refuses, a table of one row
// per landmark ("one row per landmark: reshape to one row per specimen").
//
// Example:
//   LandmarkSet set = readrowtable("id,x1,y1\na,1,2\nb,3,NA\n", "two.csv", {});
//   // set.dims == 2, set.ids == {"a", "b"}, set.coords == [1 2; NaN NaN],
//   // set.missing == [false; true]

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/readcoordinate.h"
#include "landmarks/landmarkset.h"

namespace tarvolin {

LandmarkSet readrowtable(std::string_view text, const std::string& fname,
                         const ReadOptions& options);

namespace detail {

// The delimiter of a table, from its first line that is not blank (quoted
// text aside): tab, else semicolon, else comma.
char tabledelimiter(std::string_view text);

// The fields of a delimited text, line by line, shared by the readers of
// row tables, .fcsv files and covariate tables. Lines holding only blanks
// are skipped; a quoted field must close on its own line.
class DelimitedText {
 public:
  struct Field {
    std::string_view text;  // without the blanks around it and without its quotes
    bool doubledQuotes = false;
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
