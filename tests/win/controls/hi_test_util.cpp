#include "hi_test_util.h"

namespace hi_test {

const ClassInfo& TFormPattern::StaticClassInfo() {
    static const ClassInfo info{"TFormPattern", &TForm::StaticClassInfo(), {}, {}};
    return info;
}

}  // namespace hi_test
