// End-to-end benchmark: what a host pays to import a model, from the file to a filled ModalData_Orvo
// and back to nothing (read, translate, release). Runs on examples/portal-frame.mgt and on any .mgt
// files named on the command line:
//
//     bench_end_to_end [benchmark flags] [model.mgt ...]
#include <filesystem>
#include <memory>
#include <string>

#include "BenchSupport.h"

namespace {

// What examples/portal-frame.mgt holds: 7 nodes, 5 beams and a truss (the plate is not a member), one
// nodal load, two uniform member loads and one concentrated member load of four entries.
constexpr int kPortalNodes = 7;
constexpr int kPortalMembers = 6;
constexpr int kPortalPointLoads = 1;
constexpr int kPortalMemberLoadRecords = 3;
constexpr int kPortalLineLoads = 6;

std::int64_t FileBytes(const std::string& path)
{
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    return error ? 0 : std::int64_t(bytes);
}

// One import; returns the host's node, member and load records (checked by the caller).
struct Imported {
    bool read = false;
    bool translated = false;
    int nodes = 0;
    int members = 0;
    int pointLoads = 0;
    int lineLoads = 0;
};

Imported Import(const std::string& path)
{
    Imported result;
    ModalData_Orvo model;
    MIDAStranslatetoOrvo translator;
    result.read = translator.ReadMidasFile(path.c_str());
    result.translated = result.read && translator.TranMidastoOrvo(model);
    result.nodes = model.m_Nodes.GetSize();
    result.members = model.m_Lines.GetSize();
    result.pointLoads = model.m_PointLoads.GetSize();
    result.lineLoads = model.m_LineLoads.GetSize();
    return result;
}

void PortalFrame(benchmark::State& state)
{
    const std::string path = MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt";
    for (auto _ : state) {
        const Imported imported = Import(path);
        benchmark::DoNotOptimize(imported);
        BENCH_REQUIRE(imported.read && imported.translated);
        BENCH_REQUIRE(imported.nodes == kPortalNodes);
        BENCH_REQUIRE(imported.members == kPortalMembers);
        BENCH_REQUIRE(imported.pointLoads == kPortalPointLoads);
        BENCH_REQUIRE(imported.lineLoads == kPortalLineLoads);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
    // records per second: nodes, members, nodal loads and member-load lines
    state.SetItemsProcessed(state.iterations() *
                            (kPortalNodes + kPortalMembers + kPortalPointLoads + kPortalMemberLoadRecords));
}
BENCHMARK(PortalFrame)->Unit(benchmark::kMicrosecond);

// A model named on the command line: it must be read; a model whose units are refused is still timed
// (the refusal is part of what a host pays) and reported through the "translated" counter.
void NamedModel(benchmark::State& state, const std::string& path)
{
    Imported imported;
    for (auto _ : state) {
        imported = Import(path);
        benchmark::DoNotOptimize(imported);
        BENCH_REQUIRE(imported.read);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
    state.SetItemsProcessed(state.iterations() * std::int64_t(imported.nodes + imported.members));
    state.counters["translated"] = imported.translated;
    state.counters["nodes"] = imported.nodes;
    state.counters["members"] = imported.members;
}

void IgnoreMessage(const char*, void*) {}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // A refused unit would print its message once per iteration.
    SetMessageBoxHandler(&IgnoreMessage, nullptr);
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        benchmark::RegisterBenchmark(("NamedModel/" + std::filesystem::path(path).filename().string()).c_str(),
                                     [path](benchmark::State& state) { NamedModel(state, path); })
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
