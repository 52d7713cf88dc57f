// Replays inputs through a harness without libFuzzer, for the normal and
// sanitizer builds: every file of the folders (or files) named on the
// command line is fed to the harness once, in name order. A harness
// reports a fault by aborting; an empty replay fails as well, since it
// would prove nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> InputsOf(const fs::path& where)
{
    std::vector<fs::path> inputs;
    std::error_code ec;
    if (fs::is_regular_file(where, ec)) {
        inputs.push_back(where);
    } else if (fs::is_directory(where, ec)) {
        for (const fs::directory_entry& e : fs::directory_iterator(where, ec)) {
            if (e.is_regular_file(ec))
                inputs.push_back(e.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& input : InputsOf(argv[i])) {
            std::ifstream file(input, std::ios::binary);
            const std::string data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            if (!file.good() && !file.eof()) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::printf("%s\n", input.c_str());
            std::fflush(stdout);   // names the input when the harness aborts
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
            ++count;
        }
    }
    std::printf("%d inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
