// Translation benchmark: TranMidastoOrvo on generated frames of 10k and 100k nodes with their loads, alone (the read done untimed) and together with ReadMidasFile.
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
    BENCH_REQUIRE(model.m_LSections.GetSize() == 3);
    // The last node and member keep their place as ID; each beam lists one load per load case, the
    // columns none; the first released beam is pinned at both ends.
    BENCH_REQUIRE(model.m_Nodes[int(expected.nodes) - 1]->ID == expected.nodes);
    const Line_Orvo* beam = model.m_Lines[file.shape.releaseEvery - 1];
    BENCH_REQUIRE(beam->LineLoads.Count == (file.shape.loads ? bench::kLoadCaseCount : 0));
    BENCH_REQUIRE(beam->StartRelease != 0 && beam->EndRelease != 0);
    const Line_Orvo* column = model.m_Lines[int(expected.members) - 1];
    BENCH_REQUIRE(column->ID == expected.members);
    BENCH_REQUIRE(column->LineLoads.Count == 0);
    BENCH_REQUIRE(column->SectionShape == 17);  // all three sections are H shapes
}

// Times TranMidastoOrvo alone: reading before it and releasing everything after it are not counted.
void TranslateOnly(benchmark::State& state)
{
    const bench::ModelFile& file = bench::ModelFileFor(state.range(0), true);
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
    const bench::ModelFile& file = bench::ModelFileFor(state.range(0), true);
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


BENCHMARK(TranslateOnly)->Apply(bench::ApplySizes);
BENCHMARK(ReadAndTranslate)->Apply(bench::ApplySizes);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::RemoveModelFiles();
    return 0;
}
