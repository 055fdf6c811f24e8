// Shared pieces of the benchmarks: generated model files, loud checks, and a look at what was read.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <sys/resource.h>  // getrusage, for the page faults of the timed work
#include <unistd.h>        // getpid, for a file name no other run shares
#include <utility>

#include "MIDAStranslatetoOrvo.h"
#include "ModelGenerator.h"
#include "reader/GeometryBlocks.h"
#include "translator/Translation.h"

// A benchmark whose input was not read or translated as expected measures nothing: stop the run.
#define BENCH_REQUIRE(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "bench check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// What the reader left in the translator behind the exported class: block record counts and the working
// loads of the load sections (the load reader builds working nodes and members to attach them to).
struct TranslatorAccess {
    struct ReadCounts {
        std::int64_t nodeRecords = 0;
        std::int64_t elementRecords = 0;
        std::int64_t workNodes = 0;
        std::int64_t workLines = 0;
        std::int64_t pointLoads = 0;
        std::int64_t lineLoads = 0;
    };
    static ReadCounts Counts(const Translation& t)
    {
        ReadCounts counts;
        counts.nodeRecords = t.m_Blocks.node ? t.m_Blocks.node->GetCount() : 0;
        counts.elementRecords = t.m_Blocks.element ? t.m_Blocks.element->GetCount() : 0;
        counts.workNodes = t.m_NodeArray.GetSize();
        counts.workLines = t.m_LineArray.GetSize();
        counts.pointLoads = t.m_PointLoadArray.GetSize();
        counts.lineLoads = t.m_LineLoadArray.GetSize();
        return counts;
    }
};

namespace bench {

struct ModelFile {
    ModelShape shape;
    ModelCounts counts;
    std::string path;
    std::int64_t bytes = 0;
};

inline std::string ModelPath(std::int64_t nodes, bool loads)
{
    return "/tmp/midas2orvo_bench_" + std::to_string(::getpid()) + "_" + std::to_string(nodes) +
           (loads ? "_loads" : "_geometry") + ".mgt";
}

// The generated frame of about that many nodes, written once per run to the temporary directory.
inline const ModelFile& ModelFileFor(std::int64_t nodes, bool loads)
{
    static std::map<std::pair<std::int64_t, bool>, ModelFile> files;
    auto [slot, added] = files.try_emplace({nodes, loads});
    ModelFile& file = slot->second;
    if (added) {
        file.shape = ShapeForNodes(nodes, loads);
        file.counts = CountsOf(file.shape);
        file.path = ModelPath(nodes, loads);
        file.bytes = WriteModelFile(file.shape, file.path);
        BENCH_REQUIRE(file.bytes > 0);
    }
    return file;
}

// The node counts the size benchmarks run on; 1M-node frames are for bench/compare.sh.
inline constexpr std::int64_t kBenchNodes[] = {10000, 100000};

// The sizes a size benchmark runs on, in ms, with the growth fitted to O(N). One untimed run first, so
// that every size is timed on memory the process has already used: the smaller models run many
// iterations and would otherwise be compared with a single cold one.
inline void ApplySizes(benchmark::internal::Benchmark* b)
{
    for (std::int64_t nodes : kBenchNodes)
        b->Arg(nodes);
    b->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.1)->Complexity(benchmark::oN);
}

// Removes the generated files when the run ends.
inline void RemoveModelFiles()
{
    for (std::int64_t nodes : kBenchNodes)
        for (bool loads : {false, true})
            std::remove(ModelPath(nodes, loads).c_str());
}

// Checks that reading the generated file found every node, member and load of it.
inline void RequireReadComplete(const Translation& translator, const ModelFile& file)
{
    const TranslatorAccess::ReadCounts read = TranslatorAccess::Counts(translator);
    BENCH_REQUIRE(read.nodeRecords == file.counts.nodes);
    BENCH_REQUIRE(read.elementRecords == file.counts.members);
    BENCH_REQUIRE(read.pointLoads == file.counts.nodalLoads);
    BENCH_REQUIRE(read.lineLoads == file.counts.memberLoads);
    if (file.shape.loads) {
        BENCH_REQUIRE(read.workNodes == file.counts.nodes);
        BENCH_REQUIRE(read.workLines == file.counts.members);
    }
}

// Counts the page faults (first touches of memory) of the timed work: on a virtual machine each costs
// tens of microseconds, enough to dominate a model of a million members, so the report shows them.
class FaultCounter {
public:
    void Start() { m_Start = Faults(); }
    void Stop() { m_Total += Faults() - m_Start; }
    void Report(benchmark::State& state) const
    {
        state.counters["faults"] = benchmark::Counter(double(m_Total), benchmark::Counter::kAvgIterations);
    }

private:
    static long Faults()
    {
        rusage usage {};
        getrusage(RUSAGE_THREAD, &usage);
        return usage.ru_minflt + usage.ru_majflt;
    }
    long m_Start = 0;
    long m_Total = 0;
};

// Bytes and records per second, and the model size, for one generated file.
inline void ReportRates(benchmark::State& state, const ModelFile& file)
{
    state.SetBytesProcessed(state.iterations() * file.bytes);
    state.SetItemsProcessed(state.iterations() * file.counts.Records());
    state.SetComplexityN(file.counts.members);
    state.counters["nodes"] = double(file.counts.nodes);
    state.counters["members"] = double(file.counts.members);
    state.counters["MB"] = double(file.bytes) / 1e6;
}

} // namespace bench
