#include "calc/settings.h"

#include "calc/spring_record.h"

namespace kora {

void ForceSettingsIntoRange(SpringRecord& spring) {
    spring.seps = kSepsRange.Force(spring.seps);
    spring.wsteps = kWstepsRange.Force(spring.wsteps);
    spring.faktorRFc = kFaktorRFcRange.Force(spring.faktorRFc);
    spring.ssteps = kSstepsRange.Force(spring.ssteps);
}

} // namespace kora
