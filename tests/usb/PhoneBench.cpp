#include "PhoneBench.h"

#include "TempTree.h"
#include "platform/DirectoryRegistry.h"
#include "platform/PhoneRegistryKeys.h"
#include "platform/sim/InMemoryRegistry.h"

namespace tandrel::testing {

namespace {

std::string InstanceKey(const std::string& instance) { return std::string(kPhoneEnumerationKey) + "\\" + instance; }

class InMemoryBench : public PhoneBench {
public:
    void Plug(const std::string& instance, const std::string& value) override {
        registry_.SetString(ParametersKey(instance), kCreateFileNameValue, value);
    }
    void PlugWithoutValue(const std::string& instance) override { registry_.AddKey(ParametersKey(instance)); }
    void Unplug(const std::string& instance) override { registry_.RemoveKey(InstanceKey(instance)); }
    const DeviceRegistry& Registry() const override { return registry_; }

private:
    static std::string ParametersKey(const std::string& instance) {
        return InstanceKey(instance) + "\\" + std::string(kDeviceParametersKey);
    }
    InMemoryRegistry registry_;
};

class DirectoryBench : public PhoneBench {
public:
    DirectoryBench() : registry_(tree_.Root().string()) {}
    void Plug(const std::string& instance, const std::string& value) override {
        tree_.WriteFile(ParametersFolder(instance) / kCreateFileNameValue, value + "\n");
    }
    void PlugWithoutValue(const std::string& instance) override { tree_.MakeFolder(ParametersFolder(instance)); }
    void Unplug(const std::string& instance) override { tree_.Remove(EnumerationFolder() / instance); }
    const DeviceRegistry& Registry() const override { return registry_; }

private:
    static std::filesystem::path EnumerationFolder() {
        return "SYSTEM/CurrentControlSet/Enum/USB/Vid_058b&Pid_0041";
    }
    static std::filesystem::path ParametersFolder(const std::string& instance) {
        return EnumerationFolder() / instance / kDeviceParametersKey;
    }
    TempTree tree_;
    DirectoryRegistry registry_;
};

}  // namespace

std::unique_ptr<PhoneBench> MakePhoneBench(const std::string& source) {
    if (source == "Directory") return std::make_unique<DirectoryBench>();
    return std::make_unique<InMemoryBench>();
}

}  // namespace tandrel::testing
