// Reading benchmark: ReadMidasFile over generated frames of 10k and 100k nodes, with and without
// the four load sections, to show how reading time grows with the model.
#include <memory>

#include "BenchSupport.h"

namespace {

// Times ReadMidasFile alone (on the translator behind the exported class, to count what it read);
// releasing the translator afterwards is not counted.
void ReadGenerated(benchmark::State& state, bool loads)
{
    const bench::ModelFile& file = bench::ModelFileFor(state.range(0), loads);
    bench::FaultCounter faults;
    for (auto _ : state) {
        faults.Start();
        auto translator = std::make_unique<Translation>();
        const bool read = translator->ReadMidasFile(file.path.c_str());
        benchmark::DoNotOptimize(read);
        faults.Stop();
        state.PauseTiming();
        BENCH_REQUIRE(read);
        bench::RequireReadComplete(*translator, file);
        translator.reset();
        state.ResumeTiming();
    }
    bench::ReportRates(state, file);
    faults.Report(state);
}


// Nodes, members, properties, supports and groups only.
BENCHMARK_CAPTURE(ReadGenerated, geometry, false)->Apply(bench::ApplySizes);
// The same frame with four load cases: a nodal load on every top-storey node and a member load on every
// beam in each, so member loads are about two thirds of the records.
BENCHMARK_CAPTURE(ReadGenerated, with_loads, true)->Apply(bench::ApplySizes);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::RemoveModelFiles();
    return 0;
}
