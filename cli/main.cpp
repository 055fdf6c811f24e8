// mgt2orvo: translates a MIDAS text model and shows what reached the host model.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "CommandLine.h"
#include "Encoding.h"
#include "JsonWriter.h"
#include "LargePages.h"
#include "MIDAStranslatetoOrvo.h"
#include "ModelDump.h"
#include "Report.h"
#include "SvgWriter.h"

namespace {

// Copies standard input into a temporary file, which is removed when this goes out of scope.
class StdinCopy {
public:
    ~StdinCopy()
    {
        if (!m_Path.empty())
            std::remove(m_Path.c_str());
    }
    // The copy's path, or empty when it could not be made.
    const std::string& Make()
    {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/mgt2orvo-stdin-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            return m_Path;
        m_Path = pattern;
        std::FILE* out = fdopen(fd, "wb");
        bool ok = out != nullptr;
        char buffer[1 << 16];
        for (std::size_t got; ok && (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
            ok = std::fwrite(buffer, 1, got, out) == got;
        ok = ok && !std::ferror(stdin);
        if (out ? std::fclose(out) != 0 : close(fd) != 0)
            ok = false;
        if (!ok) {
            std::remove(m_Path.c_str());
            m_Path.clear();
        }
        return m_Path;
    }

private:
    std::string m_Path;
};

// Why the input cannot be read, or null when it is a regular file the library can try. Anything else
// (a FIFO, a device such as /dev/null, a directory) is named here and never opened.
const char* InputProblem(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return "no such file";
        return errno == EACCES ? "permission denied" : "cannot be read";
    }
    if (S_ISDIR(info.st_mode))
        return "it is a directory";
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    return nullptr;
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

// Stage times of one import and the process's peak memory, for --stats. Memory in MiB (2^20 bytes).
class StageClock {
public:
    StageClock() : m_Start(Clock::now()), m_Last(m_Start) {}
    void Finished(MidasPhase phase)
    {
        const Clock::time_point now = Clock::now();
        m_Seconds[int(phase)] = std::chrono::duration<double>(now - m_Last).count();
        m_Resident[int(phase)] = ResidentMebibytes();
        m_Last = now;
    }
    void Print(const std::string& name, const std::string& path) const
    {
        std::error_code error;
        const double mebibytes = double(std::filesystem::file_size(path, error)) / kMebibyte;
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        // ru_maxrss is in KiB on Linux. Both figures are sampled, so the peak is at least any resident one.
        double peak = double(usage.ru_maxrss) / 1024.0;
        for (double resident : m_Resident)
            peak = std::max(peak, resident);
        static const char* const kNames[] = {"read", "translate", "scale", "hand-over"};
        std::fprintf(stderr, "mgt2orvo: stats for %s (%.1f MiB)\n", name.c_str(), error ? 0.0 : mebibytes);
        for (int k = 0; k < 4; ++k)
            std::fprintf(stderr, "  %-12s%8.3f s  %8.1f MiB resident after it\n", kNames[k], m_Seconds[k],
                         m_Resident[k]);
        std::fprintf(stderr, "  %-12s%8.3f s\n", "total", std::chrono::duration<double>(m_Last - m_Start).count());
        std::fprintf(stderr, "  %-12s%8.1f MiB", "peak memory", peak);
        if (!error && mebibytes > 0)
            std::fprintf(stderr, " (%.2f x the file)", peak / mebibytes);
        std::fputc('\n', stderr);
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr double kMebibyte = 1024.0 * 1024.0;
    // The process's resident memory now (Linux: the second number of /proc/self/statm, in pages).
    static double ResidentMebibytes()
    {
        long pages = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%*s %ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        return double(pages) * double(sysconf(_SC_PAGESIZE)) / kMebibyte;
    }
    Clock::time_point m_Start;
    Clock::time_point m_Last;
    double m_Seconds[4] = {};
    double m_Resident[4] = {};
};

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
        const auto bytes = std::filesystem::file_size(options.source, error);
        if (!error)
            PrepareHeapForImport(std::int64_t(bytes));
    }
    StageClock clock;
    findings.onPhase = [&clock](MidasPhase phase) { clock.Finished(phase); };
    {
        MIDAStranslatetoOrvo translator;
        translator.SetReadingProfile(options.profile);
        translator.SetDiagnostics(&findings);
        translator.SetReleaseAfterHandOver(true);  // nothing is translated twice: the peak is lower
        outcome.read = translator.ReadMidasFile(options.source.c_str());
        if (outcome.read)
            outcome.ok = translator.TranMidastoOrvo(model);
    }
    SetMessageBoxHandler(nullptr, nullptr);
    findings.onProgress = nullptr;
    findings.onPhase = nullptr;
    if (options.stats)
        clock.Print(options.name, options.source);
}

// What goes to standard output: the JSON dump or the summary, either with the report when asked.
std::string OutputText(const Options& options, const TranslationOutcome& outcome, const ModalData_Orvo& model,
                       const ReportCollector& findings, const std::string& refusal, const NameConverter& toUtf8)
{
    const LineNumbers lines = options.report && outcome.read ? LineNumbers(options.source) : LineNumbers("");
    if (options.json) {
        DumpOptions dump;
        dump.name = toUtf8;
        if (options.report && outcome.read)
            dump.report = [&](JsonWriter& json) { ReportJson(json, findings, lines, options.profile, toUtf8); };
        return ModelToJson(outcome, model, dump);
    }
    std::string text = ModelSummary(options.name, outcome, model, refusal);
    if (options.report)
        text += ReportText(findings, lines, options.profile, toUtf8);
    return text;
}

// Draws the model into the --svg file, titled with the units or, when refused, with the cause; false
// when it cannot be written.
bool WriteSvg(const Options& options, const ModalData_Orvo& model, const std::string& refusal,
              const NameConverter& toUtf8)
{
    SvgOptions svg;
    svg.view = options.view;
    svg.title = toUtf8(std::filesystem::path(options.name).filename().string()) +
                (refusal.empty() ? " (kN, mm)" : " \u2014 not translated: " + refusal);
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

    const bool fromStdin = std::strcmp(options.path, "-") == 0;
    StdinCopy stdinCopy;
    options.name = fromStdin ? "standard input" : options.path;
    options.source = fromStdin ? stdinCopy.Make() : options.path;
    const char* problem = fromStdin && options.source.empty() ? "cannot be copied to a temporary file"
                                                              : InputProblem(options.source);
    TranslationOutcome outcome;
    ModalData_Orvo model;
    ReportCollector findings;
    if (!problem)
        Import(options, outcome, model, findings);
    std::string refusal;
    if (!outcome.read) {
        std::fprintf(stderr, "mgt2orvo: cannot open %s: %s\n", options.name.c_str(),
                     problem ? problem : "cannot be read");
        if (!options.json)
            return 2;
    } else if (!outcome.ok) {
        refusal = RefusalCause(findings, options.profile);
        std::fprintf(stderr, "mgt2orvo: %s was not translated: %s\n", options.name.c_str(), refusal.c_str());
    }
    const std::string text = OutputText(options, outcome, model, findings, refusal, toUtf8);
    std::fwrite(text.data(), 1, text.size(), stdout);

    if (options.svg && outcome.read && !WriteSvg(options, model, refusal, toUtf8)) {
        std::fprintf(stderr, "mgt2orvo: cannot write %s\n", options.svg);
        return 2;
    }
    if (!outcome.read)
        return 2;
    return outcome.ok ? 0 : 1;
}
