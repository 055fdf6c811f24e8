// mgt2orvo: translates a MIDAS text model and shows what reached the host model.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "Encoding.h"
#include "JsonWriter.h"
#include "LargePages.h"
#include "MIDAStranslatetoOrvo.h"
#include "ModelDump.h"
#include "Report.h"
#include "SvgWriter.h"

#ifndef MIDAS2ORVO_VERSION
#define MIDAS2ORVO_VERSION "1.0.0"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: mgt2orvo [OPTIONS] FILE\n"
    "Translates the MIDAS text model FILE into the host model (kN, mm) and prints a summary.\n"
    "\n"
    "  --json                  print the whole host model as JSON instead of the summary\n"
    "  --report                report what did not reach the host model (a \"report\" object with --json)\n"
    "  --svg OUT.svg           draw the translated model into OUT.svg\n"
    "  --view iso|xy|xz|yz     the view of the drawing (default iso)\n"
    "  --profile classic|current\n"
    "                          classic: the older MIDAS text layout, read exactly (default);\n"
    "                          current: the layout MIDAS Gen/Civil 8.x and 9.x write\n"
    "  --encoding NAME         code page of the names in FILE (e.g. GBK, CP949, CP1251), shown as UTF-8\n"
    "  --stats                 print the time of each stage and the peak memory on standard error\n"
    "  --no-large-pages        leave the heap as the C library sets it up (see README: large pages)\n"
    "  -h, --help              show this help and exit\n"
    "  --version               show the version and exit\n"
    "\n"
    "Exit status: 0 translated, 1 translation refused, 2 usage error or unreadable file.\n";

struct Options {
    bool json = false;
    bool report = false;
    bool stats = false;
    bool largePages = true;
    const char* svg = nullptr;
    SvgView view = SvgView::Iso;
    MidasReadingProfile profile = MidasReadingProfile::Classic;
    std::string encoding;
    const char* path = nullptr;
};

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "mgt2orvo: %s\nTry 'mgt2orvo --help'.\n", message.c_str());
    return 2;
}

// Parses the command line; returns -1 to go on, otherwise the exit status.
int ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--report") {
            options.report = true;
        } else if (arg == "--stats") {
            options.stats = true;
        } else if (arg == "--no-large-pages") {
            options.largePages = false;
        } else if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("mgt2orvo %s\n", MIDAS2ORVO_VERSION);
            return 0;
        } else if (arg == "--svg") {
            if (!(options.svg = value()))
                return UsageError("--svg needs an output file");
        } else if (arg == "--view") {
            const char* view = value();
            if (!view || !ParseSvgView(view, options.view))
                return UsageError("--view takes iso, xy, xz or yz");
        } else if (arg == "--profile") {
            const char* name = value();
            if (name && std::strcmp(name, "classic") == 0)
                options.profile = MidasReadingProfile::Classic;
            else if (name && std::strcmp(name, "current") == 0)
                options.profile = MidasReadingProfile::Current;
            else
                return UsageError("--profile takes classic or current");
        } else if (arg == "--encoding") {
            const char* name = value();
            if (!name)
                return UsageError("--encoding needs a code page name");
            options.encoding = name;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option " + arg);
        } else if (!options.path) {
            options.path = argv[i];
        } else {
            return UsageError("more than one FILE given");
        }
    }
    if (!options.path)
        return UsageError("no FILE given");
    return -1;
}

void CollectMessage(const char* text, void* context)
{
    static_cast<std::vector<std::string>*>(context)->push_back(text);
}

// A progress line on a terminal's standard error, once a file has taken more than a second.
class ProgressLine {
public:
    ProgressLine() : m_bTerminal(isatty(fileno(stderr))), m_Start(std::chrono::steady_clock::now()) {}
    ~ProgressLine()
    {
        if (m_bShown)
            std::fputs("\r\033[K", stderr);
    }
    void Update(long long done, long long total)
    {
        if (!m_bTerminal || total <= 0 || std::chrono::steady_clock::now() - m_Start < std::chrono::seconds(1))
            return;
        std::fprintf(stderr, "\rreading %3lld%%", done * 100 / total);
        m_bShown = true;
    }

private:
    bool m_bTerminal;
    bool m_bShown = false;
    std::chrono::steady_clock::time_point m_Start;
};

// Stage times of one import and the process's peak memory, for --stats.
class StageClock {
public:
    StageClock() : m_Start(Clock::now()), m_Last(m_Start) {}
    void Finished(MidasPhase phase)
    {
        const Clock::time_point now = Clock::now();
        m_Seconds[int(phase)] = std::chrono::duration<double>(now - m_Last).count();
        m_Resident[int(phase)] = ResidentMegabytes();
        m_Last = now;
    }
    void Print(const char* path) const
    {
        std::error_code error;
        const double megabytes = double(std::filesystem::file_size(path, error)) / 1e6;
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        const double peak = double(usage.ru_maxrss) / 1e3;  // kilobytes on Linux
        static const char* const kNames[] = {"read", "translate", "scale", "hand-over"};
        std::fprintf(stderr, "mgt2orvo: stats for %s (%.1f MB)\n", path, error ? 0.0 : megabytes);
        for (int k = 0; k < 4; ++k)
            std::fprintf(stderr, "  %-12s%8.3f s  %8.1f MB resident after it\n", kNames[k], m_Seconds[k], m_Resident[k]);
        std::fprintf(stderr, "  %-12s%8.3f s\n", "total", std::chrono::duration<double>(m_Last - m_Start).count());
        std::fprintf(stderr, "  %-12s%8.1f MB", "peak memory", peak);
        if (!error && megabytes > 0)
            std::fprintf(stderr, " (%.2f x the file)", peak / megabytes);
        std::fputc('\n', stderr);
    }

private:
    using Clock = std::chrono::steady_clock;
    // The process's resident memory now (Linux: the second number of /proc/self/statm, in pages).
    static double ResidentMegabytes()
    {
        long pages = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%*s %ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        return double(pages) * double(sysconf(_SC_PAGESIZE)) / 1e6;
    }
    Clock::time_point m_Start;
    Clock::time_point m_Last;
    double m_Seconds[4] = {};
    double m_Resident[4] = {};
};

const char* ReasonUnreadable(const char* path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return "it is a directory";
    return std::filesystem::exists(path, error) ? "permission denied or unreadable" : "no such file";
}

using NameConverter = std::function<std::string(std::string_view)>;

// Reads and translates the file into model, gathering the library's messages and findings; with
// --stats, prints the time of each stage. A progress line shown meanwhile is cleared at the end.
void Import(const Options& options, TranslationOutcome& outcome, ModalData_Orvo& model, ReportCollector& findings)
{
    ProgressLine progress;
    findings.onProgress = [&progress](long long done, long long total) { progress.Update(done, total); };
    SetMessageBoxHandler(&CollectMessage, &outcome.messages);
    if (options.largePages) {
        std::error_code error;
        const auto bytes = std::filesystem::file_size(options.path, error);
        if (!error)
            PrepareHeapForImport(std::int64_t(bytes));
    }
    StageClock clock;
    findings.onPhase = [&clock](MidasPhase phase) { clock.Finished(phase); };
    {
        MIDAStranslatetoOrvo translator;
        translator.SetReadingProfile(options.profile);
        translator.SetDiagnostics(&findings);
        outcome.read = translator.ReadMidasFile(options.path);
        if (outcome.read)
            outcome.ok = translator.TranMidastoOrvo(model);
    }
    SetMessageBoxHandler(nullptr, nullptr);
    findings.onProgress = nullptr;
    findings.onPhase = nullptr;
    if (options.stats)
        clock.Print(options.path);
}

// What goes to standard output: the JSON dump or the summary, either with the report when asked.
std::string OutputText(const Options& options, const TranslationOutcome& outcome, const ModalData_Orvo& model,
                       const ReportCollector& findings, const NameConverter& toUtf8)
{
    const LineNumbers lines = options.report && outcome.read ? LineNumbers(options.path) : LineNumbers("");
    if (options.json) {
        DumpOptions dump;
        dump.name = toUtf8;
        if (options.report && outcome.read)
            dump.report = [&](JsonWriter& json) { ReportJson(json, findings, lines, options.profile, toUtf8); };
        return ModelToJson(outcome, model, dump);
    }
    std::string text = ModelSummary(options.path, outcome, model);
    if (options.report)
        text += ReportText(findings, lines, options.profile, toUtf8);
    return text;
}

// Draws the model into the --svg file; false when it cannot be written.
bool WriteSvg(const Options& options, const ModalData_Orvo& model, const NameConverter& toUtf8)
{
    SvgOptions svg;
    svg.view = options.view;
    svg.title = toUtf8(std::filesystem::path(options.path).filename().string()) + " (kN, mm)";
    svg.name = toUtf8;
    std::ofstream out(options.svg, std::ios::binary);
    out << ModelToSvg(model, svg);
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (int status = ParseOptions(argc, argv, options); status >= 0)
        return status;
    const TextEncoder encoder = options.encoding.empty() ? TextEncoder() : TextEncoder(options.encoding);
    if (!encoder.IsValid())
        return UsageError(encoder.Error());
    const NameConverter toUtf8 = [&encoder](std::string_view text) { return encoder.ToUtf8(text); };

    TranslationOutcome outcome;
    ModalData_Orvo model;
    ReportCollector findings;
    Import(options, outcome, model, findings);
    if (!outcome.read) {
        std::fprintf(stderr, "mgt2orvo: cannot open %s: %s\n", options.path, ReasonUnreadable(options.path));
        if (!options.json)
            return 2;
    } else if (!outcome.ok) {
        std::fprintf(stderr, "mgt2orvo: %s was not translated: its *UNIT block is missing or names units "
                             "that cannot be converted to kN and mm\n", options.path);
    }
    const std::string text = OutputText(options, outcome, model, findings, toUtf8);
    std::fwrite(text.data(), 1, text.size(), stdout);

    if (options.svg && outcome.read && !WriteSvg(options, model, toUtf8)) {
        std::fprintf(stderr, "mgt2orvo: cannot write %s\n", options.svg);
        return 2;
    }
    if (!outcome.read)
        return 2;
    return outcome.ok ? 0 : 1;
}
