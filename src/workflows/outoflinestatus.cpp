#include "core/sprintf.h"
#include "workflows/checkreport.h"

namespace tarvolin {

std::string outoflinestatus(const DataCheck& check) {
  const int count = check.outOfLine();
  if (count == 0) return {};
  return sprintf(count == 1 ? "%i specimen looks out of line: Check data..."
                            : "%i specimens look out of line: Check data...",
                 count);
}

}  // namespace tarvolin
