#include "document/guidata.h"

#include <string_view>

#include "document/guihandles.h"

namespace tarvolin {
namespace {

constexpr std::string_view kName = "UsedByGUIData_m";

}  // namespace

Value guidata(Graphics& graphics, const Value& h) {
  return graphics.getappdata(guiWindowOf(graphics, h), kName).value_or(Value());
}

void guidata(Graphics& graphics, const Value& h, const Value& data) {
  graphics.setappdata(guiWindowOf(graphics, h), kName, data);
}

}  // namespace tarvolin
