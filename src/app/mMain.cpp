#include "app/mMain.h"

#include "catalog/Catalog.h"

namespace zav {

Settings Main(const Storage& storage) {
    Settings settings = loadSettings(storage, storage.host.programFolder());
    rebuildCatalog(storage, settings);
    return settings;
}

}  // namespace zav
