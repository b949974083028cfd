// Setting the style of every picture of a list again ("Set for all list"):
// one style for all, or the style the size rules give each picture's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/PictureEntry.h"
#include "gather/MeasuringAhead.h"
#include "styles/Dim.h"

namespace seltane {

// Whether the pass reads the pictures' files: only when it chooses styles
// by size and a checked style has a rule, since otherwise no picture can
// take a new style.
bool StylePassMeasures(const DimLists& dims, const StyleRuleSettings& settings);

// In the mode "all", every picture gets the mode's style and no file is
// read. Otherwise each picture is measured and gets the highest checked
// style with a rule that matches its size; a picture without such a rule,
// or whose file cannot be measured, keeps its style. The pictures are
// measured ahead on threads of their own (`measure` is called on several
// at once) and styled in list order on the calling thread. `progress` hears
// the number of pictures done after each measured one; answering false
// stops the pass there: the pictures done keep their new styles, the rest
// their old ones. The entries' stored Width and Height are left as they
// are.
void ApplyStylesToList(std::vector<kelWide>& pictures, const DimLists& dims,
                       const StyleRuleSettings& settings, const PictureMeasure& measure,
                       const std::function<bool(std::size_t done)>& progress);

}  // namespace seltane
