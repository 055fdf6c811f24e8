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
#include <vector>

#include "CommandLine.h"
#include "Encoding.h"
#include "JsonWriter.h"
#include "MIDAStranslatetoOrvo.h"
#include "ModelDump.h"
#include "Report.h"
#include "SvgWriter.h"
#include "System.h"

namespace {

// Copies standard input into a temporary file, which is removed when this goes out of scope.
class StdinCopy {
public:
    ~StdinCopy()
    {
        std::error_code error;
        if (!m_Path.empty())
            std::filesystem::remove(Utf8Path(m_Path), error);
    }
    // The copy's path, or empty when it could not be made.
    const std::string& Make()
    {
        std::FILE* out = CreateTemporaryFile(m_Path);
        bool ok = out != nullptr;
        char buffer[1 << 16];
        for (std::size_t got; ok && (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
            ok = std::fwrite(buffer, 1, got, out) == got;
        ok = ok && !std::ferror(stdin);
        if (out && std::fclose(out) != 0)
            ok = false;
        if (!ok && !m_Path.empty()) {
            std::error_code error;
            std::filesystem::remove(Utf8Path(m_Path), error);
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
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_type type = fs::status(Utf8Path(path), error).type();
    if (type == fs::file_type::not_found || error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return "no such file";
    if (error)
        return error == std::errc::permission_denied ? "permission denied" : "cannot be read";
    if (type == fs::file_type::directory)
        return "it is a directory";
    if (type != fs::file_type::regular)
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
    ProgressLine() : m_bTerminal(IsTerminal(stderr)), m_Start(std::chrono::steady_clock::now()) {}
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
        m_Resident[int(phase)] = ResidentBytes() / kMebibyte;
        m_Last = now;
    }
    void Print(const std::string& name, const std::string& path) const
    {
        std::error_code error;
        const double mebibytes = double(std::filesystem::file_size(Utf8Path(path), error)) / kMebibyte;
        // Both figures are sampled, so the peak is at least any resident one.
        double peak = PeakResidentBytes() / kMebibyte;
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
    StageClock clock;
    findings.onPhase = [&clock](MidasPhase phase) { clock.Finished(phase); };
    {
        MIDAStranslatetoOrvo translator;
        translator.SetReadingProfile(options.profile);
        translator.SetReadingThreads(options.threads);
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
    svg.title = toUtf8(Utf8Text(Utf8Path(options.name).filename())) +
                (refusal.empty() ? " (kN, mm)" : " \u2014 not translated: " + refusal);
    svg.name = toUtf8;
    std::ofstream out(Utf8Path(options.svg), std::ios::binary);
    out << ModelToSvg(model, svg);
    return bool(out);
}

int Run(int argc, char** argv)
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

} // namespace

int main(int argc, char** argv)
{
    // The arguments in UTF-8 on every system, so that a file name in any script reaches the library.
    PrepareStandardStreams();
    std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return Run(int(arguments.size()), pointers.data());
}
