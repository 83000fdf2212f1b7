#include "core/sprintf.h"
#include "workflows/checkreport.h"

namespace tarvolin {

std::string outoflinecount(const DataCheck& check) {
  const int count = check.outOfLine();
  if (count == 0) return {};
  return sprintf(count == 1 ? "%i specimen looks out of line" : "%i specimens look out of line",
                 count);
}

std::string outoflinestatus(const DataCheck& check) {
  const std::string count = outoflinecount(check);
  return count.empty() ? count : count + ": Check data...";
}

}  // namespace tarvolin
