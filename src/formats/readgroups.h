#pragma once
// Reads the group of every specimen (its species, sex, population, ...), as
// the user names it with --groups, for statistics pooled within groups.
//
// given is what the user gave to --groups, one of:
//   FILE          a text file with one label per line, in the order of the
//                 data set's specimens. Labels are trimmed of blanks (a label
//                 may hold blanks inside); blank lines at the end are ignored.
//                 Line ends are LF, CRLF or CR; a UTF-8 byte order mark is
//                 passed over.
//   TABLE:COLUMN  a column of a table whose first column holds specimen IDs,
//                 comma-, semicolon- or tab-separated, rows in any order (see
//                 readcovariate.h for the table's rules and the matching of
//                 the column name). Taken as a table only when `given` as a
//                 whole is not an existing file and holds a colon after its
//                 first character; the last colon separates the two.
// ids: the specimens of the data set, in its order.
//
// Returns the groups: names in the order in which the specimens, in the data
// set's order, first show them; of[j] the index into names of ids[j]'s group;
// source the file read (FILE, or TABLE), for messages about the groups.
//
// An InputError names the file and, where it applies, the line: a file that
// cannot be read; for a list, an empty label before the last one (the line)
// and a label count that differs from the specimen count (both counts); for a
// table, an unknown column (listing the table's columns), a specimen of ids
// with no row or a row of a specimen not in ids (listing up to 10 and giving
// the count), two rows of one specimen (both lines), an empty ID or an empty
// label.
//
// Example: with groups.txt holding the lines "fox", "wolf", "fox",
//   SpecimenGroups g = readgroups("groups.txt", {"s1", "s2", "s3"});
//   // g.names == {"fox", "wolf"}, g.of == {0, 1, 0}, g.source == "groups.txt"
// and with a table sex.csv holding "id,sex\ns2,f\ns1,m\ns3,f",
//   readgroups("sex.csv:sex", {"s1", "s2", "s3"})
//   // names {"m", "f"}, of {0, 1, 1}, source "sex.csv"

#include <string>
#include <vector>

namespace tarvolin {

struct SpecimenGroups {
  std::vector<std::string> names;  // in order of first appearance
  std::vector<int> of;             // per specimen, index into names
  std::string source;              // the file named in messages
};

SpecimenGroups readgroups(const std::string& given, const std::vector<std::string>& ids);

}  // namespace tarvolin
