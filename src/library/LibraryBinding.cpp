#include "library/LibraryBinding.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tandrel {

void* g_libraryModule = nullptr;

namespace {

// dlsym hands back an object pointer; POSIX guarantees it converts to the
// function it names.
template <typename Fn>
void Bind(ModuleLoader& loader, void* module, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(loader.Resolve(module, name));
}

template <typename Fn>
void AddIfMissing(std::vector<std::string>& missing, Fn slot, const char* name) {
    if (!slot) missing.emplace_back(name);
}

constexpr std::string_view kEntryPointPrefix = "_IFWD_DL_";

// "name@N" without its "@N"; empty when name carries no such suffix.
std::string_view WithoutArgumentBytes(std::string_view name) {
    const auto at = name.rfind('@');
    if (at == std::string_view::npos || at == 0 || at + 1 == name.size()) return {};
    const std::string_view bytes = name.substr(at + 1);
    const bool digits = std::all_of(bytes.begin(), bytes.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    return digits ? name.substr(0, at) : std::string_view{};
}

// The entry point a decorated export stands for; empty when it is none.
std::string EntryPointOf(std::string_view exported) {
    std::string_view name = WithoutArgumentBytes(exported);
    if (name.substr(0, 1) == "_" && name.substr(1, kEntryPointPrefix.size()) == kEntryPointPrefix) name.remove_prefix(1);
    return name.substr(0, kEntryPointPrefix.size()) == kEntryPointPrefix ? std::string(name) : std::string();
}

}  // namespace

std::vector<DecoratedExport> DecoratedOnlyExports(const std::vector<std::string>& exports) {
    std::vector<DecoratedExport> decorated;
    for (const std::string& exported : exports) {
        const std::string entryPoint = EntryPointOf(exported);
        if (entryPoint.empty() || std::find(exports.begin(), exports.end(), entryPoint) != exports.end()) continue;
        decorated.push_back({entryPoint, exported});
    }
    return decorated;
}

void* LoadLibraryTable(ModuleLoader& loader, const std::string& name, LibraryTable& table, std::string& error) {
    table = LibraryTable{};
    void* module = loader.Load(name, error);
    if (!module) return nullptr;
    // Always this order, open_comm_port asked for twice into the same slot:
    // a library is bound the same way on every station.
    Bind(loader, module, "_IFWD_DL_get_dll_version", table.get_dll_version);
    Bind(loader, module, "_IFWD_DL_open_comm_port", table.open_comm_port);
    Bind(loader, module, "_IFWD_DL_init_callback", table.init_callback);
    Bind(loader, module, "_IFWD_DL_open_comm_port", table.open_comm_port);
    Bind(loader, module, "_IFWD_DL_close_comm_port", table.close_comm_port);
    Bind(loader, module, "_IFWD_DL_boot_target", table.boot_target);
    Bind(loader, module, "_IFWD_DL_set_get_control_signal", table.set_get_control_signal);
    Bind(loader, module, "_IFWD_DL_download_fls_file", table.download_fls_file);
    Bind(loader, module, "_IFWD_DL_download_eep_file", table.download_eep_file);
    Bind(loader, module, "_IFWD_DL_abort_process", table.abort_process);
    Bind(loader, module, "_IFWD_DL_force_target_reset", table.force_target_reset);
    Bind(loader, module, "_IFWD_DL_end_of_process", table.end_of_process);
    Bind(loader, module, "_IFWD_DL_set_dll_parameter", table.set_dll_parameter);
    Bind(loader, module, "_IFWD_DL_TOC_get_memory_class", table.TOC_get_memory_class);
    Bind(loader, module, "_IFWD_DL_download_dffs_file", table.download_dffs_file);
    Bind(loader, module, "_IFWD_DL_download_cust_file", table.download_cust_file);
    Bind(loader, module, "_IFWD_DL_TOC_get_nof_items", table.TOC_get_nof_items);
    Bind(loader, module, "_IFWD_DL_TOC_get_filename", table.TOC_get_filename);
    return module;
}

std::vector<std::string> MissingEntryPoints(const LibraryTable& t) {
    std::vector<std::string> missing;
    AddIfMissing(missing, t.init_callback, "_IFWD_DL_init_callback");
    AddIfMissing(missing, t.open_comm_port, "_IFWD_DL_open_comm_port");
    AddIfMissing(missing, t.close_comm_port, "_IFWD_DL_close_comm_port");
    AddIfMissing(missing, t.boot_target, "_IFWD_DL_boot_target");
    AddIfMissing(missing, t.download_fls_file, "_IFWD_DL_download_fls_file");
    AddIfMissing(missing, t.download_eep_file, "_IFWD_DL_download_eep_file");
    AddIfMissing(missing, t.abort_process, "_IFWD_DL_abort_process");
    AddIfMissing(missing, t.force_target_reset, "_IFWD_DL_force_target_reset");
    AddIfMissing(missing, t.set_dll_parameter, "_IFWD_DL_set_dll_parameter");
    AddIfMissing(missing, t.TOC_get_memory_class, "_IFWD_DL_TOC_get_memory_class");
    AddIfMissing(missing, t.download_dffs_file, "_IFWD_DL_download_dffs_file");
    AddIfMissing(missing, t.download_cust_file, "_IFWD_DL_download_cust_file");
    AddIfMissing(missing, t.TOC_get_nof_items, "_IFWD_DL_TOC_get_nof_items");
    AddIfMissing(missing, t.TOC_get_filename, "_IFWD_DL_TOC_get_filename");
    return missing;
}

void StartLibrary(const LibraryTable& table, IFWD_DL_Callback callback, LibraryMessage& message) {
    if (table.init_callback) table.init_callback(callback, message.text);
    if (!table.set_dll_parameter) return;
    for (const auto& [code, value] : kLibraryParameters) table.set_dll_parameter(code, value, message.text);
}

}  // namespace tandrel
