// The mgt2orvo command line: JSON layout, exit statuses and the summary.
#include <array>
#include <cstdio>

#include "TestSupport.h"

namespace {

struct CliRun {
    int status = -1;
    std::string out;
};

// Runs mgt2orvo; out is its standard output, or with the redirection "2>&1 >/dev/null" its standard error.
CliRun RunCli(const std::string& arguments, const char* redirection = "2>/dev/null")
{
    CliRun run;
    const std::string command = std::string(MIDAS2ORVO_CLI) + " " + arguments + " " + redirection;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer;
    std::size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(Cli, JsonDumpHasTheDocumentedLayout)
{
    TempFile file("*UNIT\nKN,M\n\n*NODE\n1,0,0,0\n2,0,0,2.5\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n\n"
                  "*CONSTRAINT\n1, 111000,\n\n*GROUP\nG\xC4, , 1\n\n");
    CliRun run = RunCli("--json " + file.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              R"({"read": true, "ok": true, "messages": [], "model": {"Updated": true, )"
              R"("Nodes": [{"ID": 1, "X": 0.0, "Y": 0.0, "Z": 0.0, "Restraint": 224, "PointLoads": []}, )"
              R"({"ID": 2, "X": 0.0, "Y": 0.0, "Z": 2500.0, "Restraint": 0, "PointLoads": []}], )"
              R"("Lines": [{"ID": 1, "StartNode": 1, "EndNode": 2, "GroupName": "G\u00c4", "SectionShape": 0, )"
              R"("SectionID": 1, "MaterialID": 1, "StartRelease": 0, "EndRelease": 0, "RefX": 0.0, "RefY": 0.0, )"
              R"("RefZ": 0.0, "RefSpare": 0.0, "LineLoads": []}], "Materials": [], "LSections": [], )"
              R"("SectionShapes": [], "ASections": [], "PointLoads": [], "LineLoads": []}})"
              "\n");
}

TEST(Cli, ExitStatusesTellWhatHappened)
{
    EXPECT_EQ(RunCli("/nonexistent/file.mgt").status, 2);
    EXPECT_EQ(RunCli("").status, 2);
    EXPECT_EQ(RunCli("--bogus x").status, 2);

    TempFile refused("*UNIT\nTONF, M\n\n*NODE\n1,0,0,0\n\n");
    CliRun run = RunCli("--json " + refused.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(R"("ok": false, "messages": ["TONF Can't Convert,Please use KN,mm Unit!"])"),
              std::string::npos);
    EXPECT_NE(run.out.find(R"("Nodes": [])"), std::string::npos);

    CliRun unreadable = RunCli("--json /nonexistent/file.mgt");
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_EQ(unreadable.out.rfind(R"({"read": false, "ok": false)", 0), 0u);
}

TEST(Cli, SummaryCountsTheExample)
{
    CliRun run = RunCli(std::string(MIDAS2ORVO_SOURCE_DIR) + "/examples/portal-frame.mgt");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("nodes          7"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("lines          6"), std::string::npos) << run.out;
}

TEST(Cli, ReportPictureAndConventions)
{
    const std::string example = std::string(MIDAS2ORVO_SOURCE_DIR) + "/examples/portal-frame.mgt";
    CliRun json = RunCli("--json --report " + example);
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find(R"("report": {"profile": "classic", "findings": [)"), std::string::npos);
    EXPECT_NE(json.out.find(R"("kind": "UntranslatedElement", )"), std::string::npos);

    CliRun text = RunCli("--report --profile current " + example);
    EXPECT_NE(text.out.find("Translation report (profile current)"), std::string::npos) << text.out;

    TempFile picture("");
    CliRun svg = RunCli("--svg " + picture.path() + " --view xz " + example);
    EXPECT_EQ(svg.status, 0);
    std::ifstream drawn(picture.path());
    const std::string content((std::istreambuf_iterator<char>(drawn)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content.rfind("<?xml", 0), 0u);
    EXPECT_NE(content.find("</svg>"), std::string::npos);

    EXPECT_EQ(RunCli("--version").out, "mgt2orvo 1.0.0\n");
    EXPECT_EQ(RunCli("--help").status, 0);
    EXPECT_EQ(RunCli("--view top " + example).status, 2);
    EXPECT_EQ(RunCli("--encoding NO-SUCH-CODEPAGE " + example).status, 2);
}

TEST(Cli, ExampleMaterialsSectionsAndThicknessesInJson)
{
    CliRun run = RunCli("--json " + std::string(MIDAS2ORVO_SOURCE_DIR) + "/examples/portal-frame.mgt");
    ASSERT_EQ(run.status, 0);
    for (const char* expected : {
             R"("Materials": [{"ID": )",
             R"("Grade": 2, "Elastic": 206.0, "Poisson": 0.3, "Thermal": 1.2e-05, "Extra": 345.0, "Density": 7.85e-07})",
             R"("ShapeCode": 17, "Name": "Column", "Properties": [0.0, 0.0, 0.0, 0.0, 300.0, 0.0, 300.0, 0.0, 0.0, 0.0, 10.0, 15.0, 0.0]})",
             R"({"ID": 1, "ShapeCode": 22, "Name": "Brace", "Properties": [0.0, 0.0, 0.0, 0.0, 51.0, 57.0, 0.0)",
             R"("SectionShapes": [17, 22], "ASections": [{"ID": 1, "Kind": 1, "Thickness": 120.0}])",
             R"("SectionShape": 22, "SectionID": 1, "MaterialID": 1, "StartRelease": 12, "EndRelease": 12)",
         })
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected;
}

// --stats reports every stage and the peak on standard error and changes nothing on standard output;
// neither does --no-large-pages.
TEST(Cli, StatsGoToStandardErrorOnly)
{
    const std::string example = MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt";
    const CliRun plain = RunCli("--json " + example);
    EXPECT_EQ(RunCli("--json --stats --no-large-pages " + example).out, plain.out);
    const CliRun stats = RunCli("--stats " + example, "2>&1 >/dev/null");
    EXPECT_EQ(stats.status, 0);
    for (const char* line : {"stats for ", "\n  read ", "\n  translate ", "\n  scale ", "\n  hand-over ",
                             "\n  total ", "\n  peak memory "})
        EXPECT_NE(stats.out.find(line), std::string::npos) << line << " in\n" << stats.out;
    EXPECT_NE(stats.out.find(" x the file)"), std::string::npos) << stats.out;
}

// A file of 32 MB or more has the heap readied for large pages first; what is translated is the same.
TEST(Cli, LargeFileTranslatesTheSameWithLargePages)
{
    std::string text = "*UNIT\nKN, M\n\n*NODE\n";
    for (int n = 1; n <= 2000; ++n)
        text += std::to_string(n) + ", " + std::to_string(n) + ", 0, 0\n";
    text += "\n*ELEMENT\n";
    for (int e = 1; e < 2000; ++e)
        text += std::to_string(e) + ", BEAM, 1, 1, " + std::to_string(e) + ", " + std::to_string(e + 1) + ", 0\n";
    const std::string comment = ";" + std::string(126, '-') + "\n";
    text.reserve(text.size() + (std::size_t(34) << 20));
    while (text.size() < (std::size_t(34) << 20))
        text += comment;
    TempFile file(text);
    const CliRun large = RunCli(file.path());
    const CliRun small = RunCli("--no-large-pages " + file.path());
    EXPECT_EQ(large.status, 0);
    EXPECT_NE(large.out.find("lines          1999"), std::string::npos) << large.out;
    EXPECT_EQ(large.out, small.out);
}
