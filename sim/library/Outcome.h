#pragma once

#include <string>

#include "Operation.h"
#include "PhoneLink.h"
#include "Watch.h"

namespace tandrel::sim {

// How a step on a phone ended, before it is reported.
struct Outcome {
    enum Kind { Done, Cancelled, Lost, Failed } kind = Done;
    std::string why;

    static Outcome From(Interrupt interrupt) {
        return {interrupt == Interrupt::Cancelled ? Cancelled : interrupt == Interrupt::Lost ? Lost : Done, {}};
    }
    static Outcome Failure(std::string why) { return {Failed, std::move(why)}; }
};

// Reports a step that did not end well and records it on the bench phone:
// nothing for a cancelled step, status 1 with the reason otherwise.
void ReportTrouble(Operation& operation, const PhoneLink& link, const Outcome& outcome);

}  // namespace tandrel::sim
