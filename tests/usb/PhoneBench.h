#pragma once

#include <memory>
#include <string>

#include "platform/DeviceRegistry.h"

namespace tandrel::testing {

// Phone instances kept in one of the registries the scan reads, so that the
// scan's rules are checked on each of them alike.
class PhoneBench {
public:
    virtual ~PhoneBench() = default;
    // An instance whose "CreateFileName" holds value.
    virtual void Plug(const std::string& instance, const std::string& value) = 0;
    // An instance with a "Device Parameters" key but no "CreateFileName".
    virtual void PlugWithoutValue(const std::string& instance) = 0;
    virtual void Unplug(const std::string& instance) = 0;
    virtual const DeviceRegistry& Registry() const = 0;
};

// "InMemory" or "Directory".
std::unique_ptr<PhoneBench> MakePhoneBench(const std::string& source);

}  // namespace tandrel::testing
