// The entry of the shared runtime library: decodes the project data form and
// runs it like the standalone runner does.
#include <filesystem>
#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "builder/shared_runtime/corvane_runtime.h"
#include "forms/app_host.h"

extern "C" __attribute__((visibility("default"))) int corvane_launch_payload(const char* data, size_t size, int argc,
                                                                            char** argv) {
    try {
        // The program's folder comes from the kernel: argv[0] may be a bare
        // name found on the search path.
        std::error_code ec;
        std::string self = std::filesystem::read_symlink("/proc/self/exe", ec).string();
        if (ec || self.empty()) self = argc > 0 && argv && argv[0] ? argv[0] : ".";
        const nlohmann::json project = nlohmann::json::parse(std::string_view(data ? data : "", data ? size : 0));
        return corvane::launch_payload(project, self);
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        return 1;
    } catch (...) {
        std::cerr << "Corvane runtime: unexpected failure" << std::endl;
        return 1;
    }
}
