#pragma once
// The specimens' scores on the principal components as a CSV table, as the
// shape space window saves it and tarvolin-cli pca --to csv writes it: a
// header "id,PC1,PC2,...", then a row per specimen in the data set's order,
// its ID and its scores with every digit (csvnumber), lines ended by LF.
//
// The overload with a sink writes the table in pieces, formatted on every
// core, never holding a large data set's scores as text whole.
//
// Example:
//   writefileatomic("scores.csv", pcascorescsv(pca, session.ids()));

#include <string>
#include <vector>

#include "core/writefileatomic.h"
#include "numerics/shapepca.h"

namespace tarvolin {

std::string pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids);
void pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids, const TextSink& sink);

}  // namespace tarvolin
