// The sensor file and sysfs contents as the hardware tool's service reads them. The input is read as a
// sensor file, and as lines "path<TAB>contents" of a sysfs listing.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <string_view>

#include "companions/hardwix/SensorText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    hardwix::ParseSensorFile(text);
    std::vector<hardwix::SysFile> files;
    while (!text.empty()) {
        const std::string_view line = text.substr(0, text.find('\n'));
        const size_t tab = line.find('\t');
        files.push_back({std::string(line.substr(0, tab)),
                         tab == std::string_view::npos ? std::string() : std::string(line.substr(tab + 1))});
        text.remove_prefix(std::min(text.size(), line.size() + 1));
    }
    hardwix::SamplesFromSysFiles(files);
    return 0;
}
