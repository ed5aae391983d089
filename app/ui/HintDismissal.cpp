#include "ui/HintDismissal.h"

namespace vellumix {

HintDismissal& HintDismissal::shared() {
    static HintDismissal instance;
    return instance;
}

} // namespace vellumix
