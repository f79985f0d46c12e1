#pragma once

#include <memory>
#include <string>

#include "support/TempFolder.h"
#include "platform/DirectoryRegistry.h"
#include "platform/PhoneRegistryKeys.h"
#include "support/InMemoryRegistry.h"

namespace tandrel::testing {

// Phone instances kept in memory or in a folder tree, so that the scan's
// rules are checked on both registries alike.
class PhoneBench {
public:
    explicit PhoneBench(bool inFolders) : inFolders_(inFolders) {}

    // An instance whose "CreateFileName" holds value.
    void Plug(const std::string& instance, const std::string& value) {
        if (inFolders_) return tree_.WriteFile(Folder(instance) / "Device Parameters/CreateFileName", value + "\n");
        memory_.SetString(Key(instance) + "\\Device Parameters", kCreateFileNameValue, value);
    }
    void Unplug(const std::string& instance) {
        if (inFolders_) return tree_.Remove(Folder(instance));
        memory_.RemoveKey(Key(instance));
    }
    const DeviceRegistry& Registry() const { return inFolders_ ? static_cast<const DeviceRegistry&>(folders_) : memory_; }

    static std::string Key(const std::string& instance) { return std::string(kPhoneEnumerationKey) + "\\" + instance; }

private:
    static std::filesystem::path Folder(const std::string& instance) {
        return std::filesystem::path(kPhoneEnumerationFolder) / instance;
    }

    bool inFolders_;
    test::TempFolder tree_;
    DirectoryRegistry folders_{tree_.Path()};
    InMemoryRegistry memory_;
};

}  // namespace tandrel::testing
