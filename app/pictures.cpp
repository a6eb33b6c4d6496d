#include "app/pictures.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace cubrix {

void registerPictures() {
    registerResources();
}

}  // namespace cubrix
