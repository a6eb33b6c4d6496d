// The text boxes ask for the Song face "宋体" (SimSun), which other systems do
// not have under that name: map it to an installed Song/Ming-style face.
#pragma once

namespace cubrix {

void installFontSubstitutions();

}  // namespace cubrix
