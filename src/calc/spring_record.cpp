#include "calc/spring_record.h"

namespace kora {

void ResetSpringRecord(SpringRecord& spring) {
    spring = SpringRecord{};
}

} // namespace kora
