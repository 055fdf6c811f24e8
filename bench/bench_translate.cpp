// Translation benchmark: TranMidastoOrvo on generated frames of 10k, 100k and 1M members with their
// loads, alone (the read done untimed) and together with ReadMidasFile.
#include <memory>

#include "BenchSupport.h"

namespace {

// Checks what the host received: every node and member, numbered by position, and every load.
void RequireTranslated(const ModalData_Orvo& model, const bench::ModelFile& file)
{
    const bench::ModelCounts& expected = file.counts;
    BENCH_REQUIRE(model.m_bUpdated);
    BENCH_REQUIRE(model.m_Nodes.GetSize() == expected.nodes);
    BENCH_REQUIRE(model.m_Lines.GetSize() == expected.members);
    BENCH_REQUIRE(model.m_PointLoads.GetSize() == expected.nodalLoads);
    BENCH_REQUIRE(model.m_LineLoads.GetSize() == expected.memberLoads);
    BENCH_REQUIRE(model.m_Materials.GetSize() == 2);
    BENCH_REQUIRE(model.m_LSections.GetSize() == 2);
    // The last node and member keep their place as ID; each member lists one load per load case.
    BENCH_REQUIRE(model.m_Nodes[expected.nodes - 1]->ID == expected.nodes);
    const Line_Orvo* last = model.m_Lines[expected.members - 1];
    BENCH_REQUIRE(last->ID == expected.members);
    BENCH_REQUIRE(last->LineLoads.Count == (file.shape.loads ? bench::kLoadCaseCount : 0));
    BENCH_REQUIRE(last->SectionShape == 17);  // both sections are H shapes
}

// Times TranMidastoOrvo alone: reading before it and releasing everything after it are not counted.
void TranslateOnly(benchmark::State& state)
{
    const bench::ModelFile& file = bench::ModelFileFor(int(state.range(0)), true);
    bench::FaultCounter faults;
    for (auto _ : state) {
        state.PauseTiming();
        auto translator = std::make_unique<MIDAStranslatetoOrvo>();
        auto model = std::make_unique<ModalData_Orvo>();
        BENCH_REQUIRE(translator->ReadMidasFile(file.path.c_str()));
        state.ResumeTiming();

        faults.Start();
        const bool translated = translator->TranMidastoOrvo(*model);
        benchmark::DoNotOptimize(translated);
        faults.Stop();

        state.PauseTiming();
        BENCH_REQUIRE(translated);
        RequireTranslated(*model, file);
        translator.reset();
        model.reset();
        state.ResumeTiming();
    }
    bench::ReportRates(state, file);
    faults.Report(state);
}

// Times ReadMidasFile followed by TranMidastoOrvo; releasing the translator and model is not counted.
void ReadAndTranslate(benchmark::State& state)
{
    const bench::ModelFile& file = bench::ModelFileFor(int(state.range(0)), true);
    bench::FaultCounter faults;
    for (auto _ : state) {
        faults.Start();
        auto translator = std::make_unique<MIDAStranslatetoOrvo>();
        auto model = std::make_unique<ModalData_Orvo>();
        const bool read = translator->ReadMidasFile(file.path.c_str());
        const bool translated = read && translator->TranMidastoOrvo(*model);
        benchmark::DoNotOptimize(translated);
        faults.Stop();

        state.PauseTiming();
        BENCH_REQUIRE(read);
        BENCH_REQUIRE(translated);
        RequireTranslated(*model, file);
        translator.reset();
        model.reset();
        state.ResumeTiming();
    }
    bench::ReportRates(state, file);
    faults.Report(state);
}

// One untimed run first, so that every size is timed on memory the process has already used.
void Sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(10000)->Arg(100000)->Arg(1000000);
    b->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.1)->Complexity(benchmark::oN);
}

BENCHMARK(TranslateOnly)->Apply(Sizes);
BENCHMARK(ReadAndTranslate)->Apply(Sizes);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::RemoveModelFiles();
    return 0;
}
