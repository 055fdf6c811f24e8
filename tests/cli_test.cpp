// mgt2orvo: exit statuses and usage errors, the JSON layout, the summary, report and picture, --stats.
// On Windows the tool's runs are the Windows tests' (platform_test.cpp) and ctest's own.
#ifndef _WIN32
#include <algorithm>
#include <array>
#include <cstdio>
#include <regex>

#include "TestSupport.h"
#include "midas2orvo/Version.h"

namespace {

const std::string kExample = MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt";

struct CliRun { int status = -1; std::string out; };

// Runs a shell command; out is its standard output.
CliRun Shell(const std::string& command)
{
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buffer;
    for (std::size_t got; pipe && (got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), got);
    const int status = pipe ? pclose(pipe) : -1;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The mismatches of a JSON text with docs/mgt2orvo.schema.json, one a line; empty when it fits.
std::string SchemaMismatches(const std::string& json)
{
    const TempFile dump(json);
    return Shell("python3 " MIDAS2ORVO_SOURCE_DIR "/tests/schema_check.py " MIDAS2ORVO_SOURCE_DIR
                 "/docs/mgt2orvo.schema.json " + dump.path() + " 2>&1").out;
}

// Runs mgt2orvo; out is its standard output, or with the redirection "2>&1 >/dev/null" its standard error.
// A JSON dump on standard output must fit the schema.
CliRun RunCli(const std::string& arguments, const char* redirection = "2>/dev/null")
{
    const CliRun run = Shell(std::string(MIDAS2ORVO_CLI) + " " + arguments + " " + redirection);
    if (run.out.starts_with("{\"read\": ")) {
        EXPECT_EQ(SchemaMismatches(run.out), "") << arguments;
    }
    return run;
}

// What the bash completion offers after "mgt2orvo words".
std::string Complete(const std::string& words)
{
    const TempFile script("source <(" MIDAS2ORVO_CLI " --bash-completion)\nCOMP_WORDS=(mgt2orvo " + words +
                          ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_mgt2orvo\necho \"${COMPREPLY[*]}\"\n");
    return Shell("bash " + script.path()).out;
}

} // namespace

TEST(Cli, ExitStatusesAndUsageErrors)
{
    TempFile refused("*UNIT\nTONF, M\n\n*NODE\n1,0,0,0\n\n");
    for (const auto& [arguments, status] : std::vector<std::pair<std::string, int>>{
             {"", 2}, {"/nonexistent/file.mgt", 2}, {"--bogus " + kExample, 2}, {kExample + " " + kExample, 2},
             {kExample + " --svg", 2}, {"--view top " + kExample, 2}, {"--profile newest " + kExample, 2},
             {kExample + " --encoding", 2}, {"--encoding NO-SUCH-CODEPAGE " + kExample, 2},
             {"--svg /nonexistent/dir/out.svg " + kExample, 2}, {"--json --report /nonexistent/file.mgt", 2},
             {"--json=yes " + kExample, 2}, {"-pnewest " + kExample, 2}, {"-x " + kExample, 2}, {"-- -j", 2},
             {"/dev/null", 2}, {refused.path(), 1}, {kExample, 0}, {"--help", 0}, {"-V", 0}})
        EXPECT_EQ(RunCli(arguments).status, status) << arguments;
    EXPECT_EQ(RunCli("--bogus", "2>&1 >/dev/null").out, "mgt2orvo: unknown option --bogus\nTry 'mgt2orvo --help'.\n");
    EXPECT_EQ(RunCli("--version").out + RunCli("/nonexistent/file.mgt").out,
              "mgt2orvo " MIDAS2ORVO_VERSION_STRING " (library midas2orvo " MIDAS2ORVO_VERSION_STRING ")\n");
    EXPECT_EQ(RunCli("/dev/null", "2>&1").out, "mgt2orvo: cannot open /dev/null: not a regular file\n");
    // Every spelling of the same options, and the model on standard input, give the same output.
    const std::string current = RunCli("--json --report --profile current " + kExample).out;
    for (const std::string& arguments : {"-j -r -p current " + kExample, "-jrpcurrent " + kExample,
                                         kExample + " --profile=current -rj", "-jr --profile current -- " + kExample})
        EXPECT_EQ(RunCli(arguments).out, current) << arguments;
    EXPECT_EQ(RunCli("-p current -j - <" + kExample).out, RunCli("-p current -j " + kExample).out);
    // A refused or unreadable file still gives its JSON.
    EXPECT_NE(RunCli("--json " + refused.path()).out.find(
                  R"("ok": false, "messages": ["TONF Can't Convert,Please use KN,mm Unit!"], "model": {"Updated": )"),
              std::string::npos);
    EXPECT_EQ(RunCli("--json /nonexistent/file.mgt").out.rfind(R"({"read": false, "ok": false, "messages": [], )", 0),
              0u);
    EXPECT_NE(SchemaMismatches(R"({"read": true, "ok": 1, "messages": [], "model": {}})"), "");
}

TEST(Cli, JsonDumpHasTheDocumentedLayout)
{
    TempFile file("*UNIT\nKN,M\n\n*NODE\n1,0,0,0\n2,0,0,2.5\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n\n"
                  "*CONSTRAINT\n1, 111000,\n\n*GROUP\nG\xD6\xF7\xFF, , 1\n\n");
    const CliRun run = RunCli("--json --encoding GBK " + file.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              R"({"read": true, "ok": true, "messages": [], "model": {"Updated": true, )"
              R"("Nodes": [{"ID": 1, "X": 0.0, "Y": 0.0, "Z": 0.0, "Restraint": 224, "PointLoads": []}, )"
              R"({"ID": 2, "X": 0.0, "Y": 0.0, "Z": 2500.0, "Restraint": 0, "PointLoads": []}], )"
              R"("Lines": [{"ID": 1, "StartNode": 1, "EndNode": 2, "GroupName": "G)" "\xE4\xB8\xBB" R"(\u00ff", )"
              R"("SectionShape": 0, "SectionID": 1, "MaterialID": 1, "StartRelease": 0, "EndRelease": 0, "RefX": 0.0, )"
              R"("RefY": 0.0, "RefZ": 0.0, "RefSpare": 0.0, "LineLoads": []}], "Materials": [], "LSections": [], )"
              R"("SectionShapes": [], "ASections": [], "PointLoads": [], "LineLoads": [], "Areas": []}})"
              "\n");
}

TEST(Cli, SummaryReportPictureAndStats)
{
    const std::string summary = RunCli("--report --profile current " + kExample).out;
    for (const char* line : {": translated (kN, mm)\n  nodes          7\n  lines          6\n",
                             "beam sections  3 (2 shapes)\n", "(dead): 1 point load, 2 line loads\n",
                             "Translation report (profile current)\n"})
        EXPECT_NE(summary.find(line), std::string::npos) << line << " in\n" << summary;
    const std::string json = RunCli("--json --report " + kExample).out;
    for (const char* part : {R"("report": {"profile": "classic", "ledger": [{"keyword": "*VERSION", "line": 5, )",
             R"("findings": [{"kind": "UnitWords", )",
             R"("Poisson": 0.3, "Thermal": 1.2e-05, "Extra": 345.0, "Density": 7.85e-07})",
             R"("SectionShapes": [17, 22], "ASections": [{"ID": 1, "Kind": 1, "Thickness": 120.0}])"})
        EXPECT_NE(json.find(part), std::string::npos) << part;

    const std::string svg = RunCli("--svg /dev/stderr --view xz " + kExample, "2>&1 >/dev/null").out;
    EXPECT_NE(svg.find(">portal-frame.mgt (kN, mm)</text>\n<text x=\"40\" y=\"52\" id=\"counts\" font-size=\"13\">"
                       "XZ elevation \u2014 7 nodes, 6 members, "), std::string::npos) << svg;
    EXPECT_TRUE(svg.ends_with("</svg>\n"));

    // --stats reports on standard error; neither it nor the threads that read a large file change
    // standard output.
    EXPECT_EQ(RunCli("--json --stats --threads 2 " + kExample).out, RunCli("--json " + kExample).out);
    const std::string stats = RunCli("--stats " + kExample, "2>&1 >/dev/null").out;
    EXPECT_TRUE(stats.find("\n  hand-over ") != stats.npos && stats.find(" x the file)\n") != stats.npos) << stats;
    const double peak = std::stod(stats.substr(stats.find("peak memory") + 11));
    for (std::size_t at = 0; (at = stats.find(" MiB resident", at + 1)) != stats.npos;)
        EXPECT_LE(std::stod(stats.substr(stats.rfind(" s ", at) + 3)), peak) << stats;
    std::string text = "*UNIT\nKN, M\n\n*NODE\n";
    for (int n = 1; n <= 700000; ++n) text += std::to_string(n) + ", " + std::to_string(n) + ".5, 0, 0\n";  // 18 MB
    TempFile large(text + "\n");
    const CliRun run = RunCli("--json --threads 3 " + large.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"ID\": 700000"), std::string::npos);
    EXPECT_EQ(RunCli("--json -t1 " + large.path()).out, run.out);
}

TEST(Cli, RefusalsNameTheirCause)
{
    for (const auto& [unit, profile, cause] : std::vector<std::array<std::string, 3>>{
             {"", "classic", "no *UNIT block"},
             {"*UNIT\nTONF, M\n\n", "classic", "force unit TONF cannot be converted in the classic profile (try --profile current)"},
             {"*UNIT\nFOO, M\n\n", "current", "force unit FOO cannot be converted"},
             {"*UNIT\nKN, XX\n\n", "current", "length unit XX unknown"}}) {
        TempFile file(unit + "*NODE\n1,0,0,0\n\n");
        const CliRun run = RunCli("-p " + profile + " -o /dev/stderr " + file.path(), "2>&1");
        EXPECT_EQ(run.status, 1) << unit;
        EXPECT_NE(run.out.find(file.path() + ": not translated: " + cause + "\n  nodes "), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\u2014 not translated: " + cause + "</text>"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("kN, mm"), std::string::npos) << run.out;
    }
}

// --help, the manual page and the bash completion come from one option table: each names every option,
// and the values the completion offers are the ones the tool takes.
TEST(Cli, ManualPageAndCompletionFollowTheOptions)
{
    const std::string help = RunCli("--help").out, man = RunCli("--man").out;
    std::string longOptions;
    const std::regex option("\n  (?:-., |    )(--[a-z-]+)");
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it) {
        longOptions += (longOptions.empty() ? "" : " ") + (*it)[1].str();
        const std::string roff = std::regex_replace((*it)[1].str(), std::regex("-"), "\\-");  // man(7) hyphens
        EXPECT_NE(man.find("\\fB" + roff + "\\fR"), std::string::npos) << roff;
    }
    EXPECT_EQ(std::count(longOptions.begin(), longOptions.end(), ' '), 9) << longOptions;
    for (const auto& [words, offered] : std::vector<std::pair<std::string, std::string>>{
             {"--", longOptions + "\n"}, {"--pro", "--profile\n"}, {"-j --profile ''", "classic current\n"},
             {"-p c", "classic current\n"}, {"--view = x", "xy xz\n"}, {"-e ''", "\n"}})
        EXPECT_EQ(Complete(words), offered) << words;
    for (const std::string view : {"iso", "xy", "xz", "yz"})
        EXPECT_EQ(RunCli("--view " + view + " -p " + (view < "xz" ? "classic " : "current ") + kExample).status, 0);
    EXPECT_EQ(Complete("--view ''") + Complete("--profile ''"), "iso xy xz yz\nclassic current\n");
    if (Shell("command -v groff >/dev/null").status == 0) {  // no warning about the markup
        EXPECT_EQ(Shell(MIDAS2ORVO_CLI " --man | groff -man -ww -z 2>&1").out, "");
    }
}
#endif
