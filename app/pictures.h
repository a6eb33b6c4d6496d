// The window's pictures are compiled into the window library; a static
// library's resources must be registered before the first use.
#pragma once

namespace cubrix {

void registerPictures();

}  // namespace cubrix
