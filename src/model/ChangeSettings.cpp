#include "model/ChangeSettings.h"

#include "catalog/Catalog.h"

namespace zav {

Settings ChangeSettings(const Storage& storage, const Settings& wanted) {
    Settings settings = saveSettings(storage, wanted);
    rebuildCatalog(storage, settings);
    return settings;
}

}  // namespace zav
