#pragma once
// The parts of the data check's report (checkreport.h), each made by a
// routine of its own: the ID findings, the findings in words, the text
// table, the CSV and the JSON. Internal to the report.
//
// Example:
//   IdFindings f = checkids({"a", "b", "a"}, {{"ages.csv", {"a", "c"}}});
//   // f.duplicates == {"a"}, f.tables[0].tableOnly == {"c"},
//   // f.tables[0].missingFromTable == {"b"}

#include <string>
#include <vector>

#include "workflows/checkreport.h"

namespace tarvolin {

// The IDs of more than one specimen, in order of first use; for each table
// (a file named twice counts once), its rows that match no specimen, in its
// order, and the specimens that have no row, in the data set's order, each
// ID listed once.
IdFindings checkids(const std::vector<std::string>& ids, const std::vector<TableIds>& tables);

// Each specimen's findings in words, in the data set's order: the likeliest
// cause of a shape far from the mean (two landmarks swapped, a mirror
// image, else only how far), then a size out of line.
std::vector<std::vector<std::string>> checkspecimenwords(const DataCheck& check,
                                                         const std::vector<std::string>& ids);

// The ID findings in words: the duplicates, then each table's rows without
// a specimen and specimens without a row. IDs and file names as shownid and
// printable show them.
std::vector<std::string> checkidwords(const IdFindings& found, const std::vector<std::string>& ids);

// `value` to `digits` significant digits as printf's %g writes it, but
// without an exponent for a number of more digits before the point; NaN,
// Inf and -Inf as R writes them. The same in every locale.
std::string checknumber(double value, int digits);

// Fills report.tableHeader and report.tableRows from its check, the IDs as
// shown (shownid) and the specimens' findings: a column per figure,
// aligned, in rank order.
void checktable(CheckReport& report, const std::vector<std::string>& shownIds);

// The table as CSV, in rank order, every number with every digit.
std::string checkcsv(const CheckReport& report);

// The report as JSON, the table in the data set's order.
std::string checkjson(const CheckReport& report);

}  // namespace tarvolin
