#include "calc/calculate.h"

#include "calc/session.h"

namespace kora {

void CalculateSpring(Session& session) {
    if (session.spring.nsec == 0) {
        session.Fatal("Fatal  : n = 0 !");
        return;
    }
    session.ClearMessages();
}

}  // namespace kora
