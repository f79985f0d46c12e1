#include "Bench.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "AtomicFiles.h"
#include "System.h"

namespace fs = std::filesystem;

namespace tandrel::sim {
namespace {

const std::string kValuePath = std::string(kDeviceParametersKey) + "/" + std::string(kCreateFileNameValue);

std::string StripOneNewline(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

bool MakeDirs(const std::string& path, std::string& error) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) error = "cannot create " + path + ": " + ec.message();
    return !ec;
}

bool Fill(const std::string& root, int phones, std::string& error) {
    if (!MakeDirs(root + "/" + kEnumerationKey, error) || !MakeDirs(root + "/tmp", error)) return false;
    for (int phone = 1; phone <= phones; ++phone) {
        std::string dir = root + "/phones/" + Bench::InstanceName(phone);
        if (!MakeDirs(dir + "/flash", error) || !WriteFileAtomically(dir + "/state", phone_state::kNew, error) ||
            !WriteFileAtomically(dir + "/faults", "", error) || !WriteFileAtomically(dir + "/plug-count", "0", error)) {
            return false;
        }
    }
    return true;
}

bool IsEmptyOrMissing(const std::string& root) {
    std::error_code ec;
    if (!fs::exists(root, ec)) return true;
    return fs::is_directory(root, ec) && fs::is_empty(root, ec);
}

}  // namespace

bool IsFinalState(const std::string& state) {
    return state == phone_state::kResetDone || state == phone_state::kFailed || state == phone_state::kAborted ||
           state == phone_state::kClosed;
}

std::optional<Bench> Bench::Open(const std::string& root, std::string& error) {
    std::error_code ec;
    if (!fs::is_directory(root + "/" + kEnumerationKey, ec) || !fs::is_directory(root + "/phones", ec)) {
        error = "no bench at " + root + " (create one with: tandrel-bench create " + root + ")";
        return std::nullopt;
    }
    return Bench(root);
}

std::optional<Bench> Bench::FromEnvironment(std::string& error) {
    const char* root = std::getenv(kBenchVariable);
    if (root == nullptr || root[0] == '\0') {
        error = std::string("no virtual bench: ") + kBenchVariable + " is not set";
        return std::nullopt;
    }
    return Open(root, error);
}

// Built under a temporary name beside root and renamed into place, so a
// half-made bench is never seen.
bool Bench::Create(const std::string& root, int phones, std::string& error) {
    if (!IsEmptyOrMissing(root)) {
        error = root + " already exists and is not empty";
        return false;
    }
    fs::path target = fs::absolute(root).lexically_normal();
    if (target.filename().empty()) target = target.parent_path();
    std::string staging = TemporaryName(target.parent_path().string(), target.filename().string());
    if (!Fill(staging, phones, error)) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return false;
    }
    std::string why;
    if (!RenameReplacing(staging, target.string(), why)) {
        error = "cannot create " + root + ": " + why;
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return false;
    }
    return true;
}

std::vector<int> Bench::Phones() const {
    std::vector<int> phones;
    for (int phone = 1; phone <= kMaxPhones; ++phone) {
        if (HasPhone(phone)) phones.push_back(phone);
    }
    return phones;
}

bool Bench::HasPhone(int phone) const {
    std::error_code ec;
    return phone >= 1 && phone <= kMaxPhones && fs::is_directory(PhoneDir(InstanceName(phone)), ec);
}

std::string Bench::InstanceKey(const std::string& instance) const {
    return root + "/" + kEnumerationKey + "/" + instance;
}

bool Bench::IsPlugged(const std::string& instance) const {
    std::error_code ec;
    return fs::is_directory(InstanceKey(instance), ec);
}

bool Bench::Plug(int phone, std::string& error) const {
    std::string instance = InstanceName(phone);
    if (IsPlugged(instance)) {
        error = "phone " + std::to_string(phone) + " is already plugged";
        return false;
    }
    std::string staging = TemporaryName(TrashDir(), instance);
    if (!MakeDirs(staging + "/" + std::string(kDeviceParametersKey), error) ||
        !WriteFileAtomically(staging + "/" + kValuePath, DeviceValue(phone), error) ||
        !WriteFileAtomically(PhoneDir(instance) + "/plug-count", std::to_string(PlugCount(instance) + 1), error) ||
        !WriteState(instance, phone_state::kPlugged, error)) {
        return false;
    }
    std::string why;
    if (!RenameReplacing(staging, InstanceKey(instance), why)) {
        error = "cannot plug phone " + std::to_string(phone) + ": " + why;
        return false;
    }
    return true;
}

bool Bench::Unplug(const std::string& instance, std::string& error) const {
    if (!IsPlugged(instance)) {
        error = instance + " is not plugged";
        return false;
    }
    return RemoveAtomically(InstanceKey(instance), TrashDir(), error);
}

std::optional<std::string> Bench::FindInstance(const std::string& value) const {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root + "/" + kEnumerationKey, ec)) {
        std::string name = entry.path().filename().string();
        std::optional<std::string> text = ReadSmallFile(entry.path().string() + "/" + kValuePath);
        if (text && StripOneNewline(*text) == value) return name;
    }
    return std::nullopt;
}

unsigned Bench::PlugCount(const std::string& instance) const {
    std::optional<std::string> text = ReadSmallFile(PhoneDir(instance) + "/plug-count");
    return text ? static_cast<unsigned>(std::strtoul(text->c_str(), nullptr, 10)) : 0;
}

std::string Bench::ReadState(const std::string& instance) const {
    return StripOneNewline(ReadSmallFile(PhoneDir(instance) + "/state").value_or(""));
}

bool Bench::WriteState(const std::string& instance, const std::string& state, std::string& error) const {
    return WriteFileAtomically(PhoneDir(instance) + "/state", state, error);
}

bool Bench::ReadFaults(const std::string& instance, Faults& faults, std::string& error) const {
    std::optional<std::string> text = ReadSmallFile(PhoneDir(instance) + "/faults");
    if (!text) {
        error = "cannot read the faults of " + instance;
        return false;
    }
    return ParseFaults(*text, faults, error);
}

bool Bench::WriteFaults(const std::string& instance, const Faults& faults, std::string& error) const {
    return WriteFileAtomically(PhoneDir(instance) + "/faults", FormatFaults(faults), error);
}

}  // namespace tandrel::sim
