#include "Outcome.h"

namespace tandrel::sim {

void ReportTrouble(Operation& operation, const PhoneLink& link, const Outcome& outcome) {
    switch (outcome.kind) {
    case Outcome::Done:
        return;
    case Outcome::Cancelled:
        link.SetState(phone_state::kAborted);
        return;
    case Outcome::Lost:
        link.SetState(phone_state::kFailed);
        operation.Fail("USB connection lost: the phone on " + link.Device() + " was unplugged");
        return;
    case Outcome::Failed:
        link.SetState(phone_state::kFailed);
        operation.Fail(outcome.why);
        return;
    }
}

}  // namespace tandrel::sim
