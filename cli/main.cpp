// mgt2orvo: translates a MIDAS text model and shows what reached the host model.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "MIDAStranslatetoOrvo.h"
#include "ModelDump.h"

namespace {

constexpr const char* kUsage =
    "Usage: mgt2orvo [--json] [--profile classic|current] FILE\n"
    "Translates the MIDAS text model FILE into the host model (kN, mm) and prints a summary,\n"
    "or with --json the whole host model as JSON.\n"
    "  --profile classic   read the older MIDAS text layout exactly (default)\n"
    "  --profile current   read the layout MIDAS Gen/Civil 8.x and 9.x write\n"
    "Exit status: 0 translated, 1 translation refused, 2 usage error or unreadable file.\n";

void CollectMessage(const char* text, void* context)
{
    static_cast<std::vector<std::string>*>(context)->push_back(text);
}

} // namespace

int main(int argc, char** argv)
{
    bool json = false;
    MidasReadingProfile profile = MidasReadingProfile::Classic;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[i], "--profile") == 0 && i + 1 < argc) {
            const std::string name = argv[++i];
            if (name == "classic") {
                profile = MidasReadingProfile::Classic;
            } else if (name == "current") {
                profile = MidasReadingProfile::Current;
            } else {
                std::fprintf(stderr, "mgt2orvo: unknown profile %s (classic or current)\n", name.c_str());
                return 2;
            }
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "mgt2orvo: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        } else if (!path) {
            path = argv[i];
        } else {
            std::fprintf(stderr, "mgt2orvo: more than one FILE given\n%s", kUsage);
            return 2;
        }
    }
    if (!path) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    TranslationOutcome outcome;
    ModalData_Orvo model;
    SetMessageBoxHandler(&CollectMessage, &outcome.messages);
    {
        MIDAStranslatetoOrvo translator;
        translator.SetReadingProfile(profile);
        outcome.read = translator.ReadMidasFile(path);
        if (outcome.read)
            outcome.ok = translator.TranMidastoOrvo(model);
    }
    SetMessageBoxHandler(nullptr, nullptr);

    if (!outcome.read) {
        std::error_code error;
        const char* reason = std::filesystem::is_directory(path, error) ? "it is a directory"
                             : std::filesystem::exists(path, error)    ? "permission denied or unreadable"
                                                                        : "no such file";
        std::fprintf(stderr, "mgt2orvo: cannot open %s: %s\n", path, reason);
    }
    else if (!outcome.ok)
        std::fprintf(stderr, "mgt2orvo: %s was not translated: its *UNIT block is missing or names units "
                             "that cannot be converted to kN and mm\n", path);

    if (!outcome.read && !json)
        return 2;
    const std::string text = json ? ModelToJson(outcome, model) : ModelSummary(path, outcome, model);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (!outcome.read)
        return 2;
    return outcome.ok ? 0 : 1;
}
