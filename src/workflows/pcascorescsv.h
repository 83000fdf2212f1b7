#pragma once
// The specimens' scores on the principal components as a CSV table, as the
// shape space window saves it and tarvolin-cli pca --to csv writes it: a
// header "id,PC1,PC2,...", then a row per specimen in the data set's order,
// its ID and its scores with every digit (csvnumber), lines ended by LF.
//
// The overload with a sink writes the table in pieces, formatted on every
// core, never holding a large data set's scores as text whole.
//
// IDs are written as the landmark CSV writer writes them: quoted when they
// hold a comma, a quote, a semicolon or a tab or begin or end with a blank.
// An ID holding a control character or a line break is refused before
// anything is written, with an InputError (concerning the data) that names
// `file` and the specimen.
//
// Example:
//   writefileatomic("scores.csv", pcascorescsv(pca, session.ids()));

#include <string>
#include <vector>

#include "core/writefileatomic.h"
#include "numerics/shapepca.h"

namespace tarvolin {

std::string pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids,
                         const std::string& file = {});
void pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids, const TextSink& sink,
                  const std::string& file = {});

}  // namespace tarvolin
