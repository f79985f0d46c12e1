#pragma once

#include "Channel.h"
#include "Transfer.h"

namespace tandrel::sim {

// The bodies of the three long steps, run on the channel's worker thread.
Job MakeBootJob(PhoneLink link, StepFault fault);
Job MakeDownloadJob(PhoneLink link, ItemPlan plan, Links links);
Job MakeResetJob(PhoneLink link, bool fails);
// A step refused after the fact: reported through the callback like any
// other outcome, so a caller that ignores results still hears of it.
Job MakeRefusalJob(std::string why);

}  // namespace tandrel::sim
