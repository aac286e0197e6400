#include "hibutton_test_util.h"

namespace controls_test {

const ClassInfo& TFormPattern::StaticClassInfo() {
    static const ClassInfo info{"TFormPattern", &TForm::StaticClassInfo(), {}, {}};
    return info;
}

}  // namespace controls_test
