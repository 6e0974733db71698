// The settings store opening a hostile settings file and then reading and writing keys and
// side files in hostile sections; what it saved must read back as written.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "controls/quiet_desktop.h"
#include "fuzz_input.h"
#include "settings/settings_store.h"

namespace {

using namespace yelian;

// One folder per process, holding the settings file and its side files.
const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("yelian-fuzz-settings-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// Section and key names come from the program's control names, never from a user: a "/" in
// them would only let the fuzzer write side files outside the scratch folder.
std::string plainName(std::string_view text) {
    std::string name(text);
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

// Texts the file format stores as they are: the line-break code and the bytes that make up
// lines, headers and key lines read back differently by design.
bool storedAsIs(std::string_view text) {
    return text.find_first_of("\r\n[]=") == std::string_view::npos &&
           text.find("\xa9\xae") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string section = plainName(input.takeText());
    const std::string key = plainName(input.takeText());
    const std::string value(input.takeText());
    const std::string fileBytes(input.takeRest());
    const std::filesystem::path file = scratchFolder() / "settings.ini";
    std::filesystem::remove_all(scratchFolder() / "inibin");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(fileBytes.data(), static_cast<std::streamsize>(fileBytes.size()));
    }

    QuietDesktop desktop;
    SettingsStore store(desktop);
    if (!store.open(file.string())) return 0;
    store.selectSection(section);
    store.readText(key, value);
    store.readNumber(key, 0);
    store.readBool(key, false);
    store.readSideFile(key, value);
    const bool saved = store.writeText(key, value);
    // A saved value reads back as it was written, also after the file is opened again.
    if (saved && storedAsIs(section) && storedAsIs(key) && storedAsIs(value) &&
        store.readText(key, {}) != value)
        std::abort();
    store.writeNumber(key + "n", static_cast<double>(value.size()));
    store.writeBool(key + "b", !value.empty());
    store.writeSideFile(key, value);
    store.close();
    return 0;
}
