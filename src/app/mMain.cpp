#include "app/mMain.h"

#include "catalog/Catalog.h"
#include "core/Platform.h"

namespace zav {

Settings Main() {
    Settings settings = loadSettings(services().host->programFolder());
    rebuildCatalog(*services().fs, settings);
    return settings;
}

}  // namespace zav
