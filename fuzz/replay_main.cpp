// Replays saved inputs through a fuzz target built without libFuzzer: each file named, and each file in a
// named directory, goes once to LLVMFuzzerTestOneInput, in sorted order. A broken property aborts inside
// the target; a path that cannot be read, or no input at all, fails the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code notDirectory;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i], notDirectory))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        if (notDirectory)
            inputs.emplace_back(argv[i]);
    }
    std::sort(inputs.begin(), inputs.end());
    int unreadable = 0;
    for (const auto& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", input.string().c_str());
            ++unreadable;
            continue;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%s: %zu inputs replayed, %d unreadable\n", argv[0], inputs.size() - unreadable, unreadable);
    return unreadable == 0 && !inputs.empty() ? 0 : 1;
}
