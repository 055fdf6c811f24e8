// Replays saved inputs through a fuzz target built without libFuzzer: every file named on the command
// line, and every file inside a named directory, is passed once to LLVMFuzzerTestOneInput. A broken
// property aborts inside the target; a path that cannot be read fails the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_DIRECTORY...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> inputs;
        std::error_code error;
        if (std::filesystem::is_directory(argv[i], error)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
            std::sort(inputs.begin(), inputs.end());  // same order on every run
        } else {
            inputs.emplace_back(argv[i]);
        }
        for (const auto& input : inputs)
            (Replay(input) ? replayed : failed) += 1;
    }
    std::printf("%s: %d inputs replayed, %d unreadable\n", argv[0], replayed, failed);
    return failed == 0 && replayed > 0 ? 0 : 1;
}
