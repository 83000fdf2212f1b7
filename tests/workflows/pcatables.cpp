// The IDs in the principal components' tables: the text shows them safely
// and short, the CSV writes them as the landmark CSV writer does.
#include "workflows/pcatables.h"

#include <string>
#include <vector>

#include "core/console.h"
#include "core/errors.h"
#include "formats/dload.h"
#include "numerics/shapepca.h"
#include "numerics/superimposedataset.h"
#include "tests/testing.h"
#include "workflows/pcascorescsv.h"

namespace tarvolin {
namespace {

ShapePca examplePca() {
  Eigen::MatrixXd data =
      superimposedataset(dload(testing::examplePath("skulls_zor.txt")), consoleSink()).data;
  const Eigen::Index variables = data.cols() - 1;
  return shapepca(std::move(data), variables);
}

std::vector<std::string> idsWith(const std::string& first) {
  std::vector<std::string> ids = {first};
  for (int i = 2; i <= 40; ++i) ids.push_back("s" + std::to_string(i));
  return ids;
}

// Quoted where a reader would split or trim the field; a control character
// or a line break refused before a line is written, naming the specimen.
TEST(PcaScoresCsv, WritesIdsAsTheLandmarkCsvWriterDoes) {
  const ShapePca pca = examplePca();
  const struct {
    std::string id;
    std::string field;  // how the row begins; empty: refused
    std::string error;
  } cases[] = {
      {"skull_1", "skull_1,", ""},
      {"skull, left", "\"skull, left\",", ""},
      {"say \"hi\"", "\"say \"\"hi\"\"\",", ""},
      {"semi;colon", "\"semi;colon\",", ""},
      {"tab\there", "\"tab\there\",", ""},
      {" blank", "\" blank\",", ""},
      {"x\x1b]0;t\x07", "",
       "skulls.txt: specimen \"x\\e]0;t\\x07\": cannot write ID in CSV: it holds the control "
       "character \\e; nothing was written"},
      {"two\nlines", "",
       "skulls.txt: specimen \"two\\nlines\": cannot write ID in CSV: it holds a line break; "
       "nothing was written"},
  };
  for (const auto& c : cases) {
    std::string written;
    const auto write = [&] {
      pcascorescsv(
          pca, idsWith(c.id), [&](std::string_view piece) { written += piece; }, "skulls.txt");
    };
    if (c.field.empty()) {
      EXPECT_THROW_TEXT(write(), InputError, c.error);
      EXPECT_EQ(written, "");
    } else {
      write();
      EXPECT_EQ(written.substr(written.find('\n') + 1, c.field.size()), c.field);
    }
  }
}

// The text escapes what would control a terminal and cuts a long ID, which
// would otherwise widen every row.
TEST(PcaText, ShowsIdsPrintableAndShort) {
  const ShapePca pca = examplePca();
  std::vector<std::string> ids = idsWith("skull\x1b[31m\x07");
  ids[1] = std::string(200000, 'a');
  std::string text;
  pcatext(pca, {"odd\x1b.txt", "superimposed", "superimposed coordinates", 3}, ids,
          [&](std::string_view piece) { text += piece; });
  EXPECT_EQ(text.find_first_of("\x1b\x07"), std::string::npos);
  EXPECT_NE(text.find("superimposed coordinates: odd\\e.txt,"), std::string::npos) << text;
  EXPECT_NE(text.find("\nskull\\e[31m\\x07 "), std::string::npos) << text;
  EXPECT_NE(text.find("\n" + std::string(37, 'a') + "... "), std::string::npos);
  EXPECT_LT(text.size(), 100000u);
}

}  // namespace
}  // namespace tarvolin
