#pragma once
// The order in which a person reads the lines of a screenshot or a page: rows top to bottom, and
// within a row left to right. Two boxes share a row when their vertical centres are less than
// half a line height apart (the smaller of the two boxes' heights, so that a tall title does not
// pull the lines beside it into one row).
#include <cstddef>
#include <vector>

#include "tools/ocrd/ppocr/geometry.h"

namespace lumenta::ocrd::ppocr {

// The indices of `boxes` in reading order.
[[nodiscard]] std::vector<std::size_t> ReadingOrder(const std::vector<Quad>& boxes);

}  // namespace lumenta::ocrd::ppocr
