#include "windows/AdvancedOptionsModel.h"

#include "model/MainWindowModel.h"

namespace mivo {

AdvancedOptionsModel::AdvancedOptionsModel() {
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        SelectBoxn[rule].items.assign(kHeaderFieldNames.begin(), kHeaderFieldNames.end());
    }
}

}  // namespace mivo
