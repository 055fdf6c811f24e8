// Micro-benchmarks of the hot paths: one data line through the node, element and member-load parsers,
// the real-number conversion, and one whole small file from disk to host model.
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "reader/LoadBlocks.h"
#include "reader/TextUtils.h"

namespace {

// Parses the same line into a fresh record each time, as a block does for each line it reads.
template <class Record>
void ParseLine(benchmark::State& state, const char* line)
{
    for (auto _ : state) {
        Record record;
        const bool kept = record.Parse(line);
        benchmark::DoNotOptimize(kept);
        benchmark::DoNotOptimize(record);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * std::int64_t(std::char_traits<char>::length(line)));
}

// One name per parser, for the benchmark names.
constexpr auto ParseNode = &ParseLine<NodeRecord>;
constexpr auto ParseElement = &ParseLine<ElementRecord>;
constexpr auto ParseMemberLoad = &ParseLine<BeamLoadRecord>;
constexpr auto ParseNodalLoad = &ParseLine<ConLoadRecord>;

// Lines as the generated frames and MIDAS itself write them.
BENCHMARK_CAPTURE(ParseNode, line, "123456, 594, 294, 101.5");
BENCHMARK_CAPTURE(ParseElement, beam,
                  "123456, BEAM  ,    2,     2,  11345,  11346,     0,     0");
BENCHMARK_CAPTURE(ParseMemberLoad, long_form,
                  "123456, BEAM   , UNILOAD, GZ, NO , NO, aDir[1], , , , 0, -2, 1, -2, 0, 0, 0, 0, , NO, 0, 0, NO, ");
BENCHMARK_CAPTURE(ParseMemberLoad, short_form,
                  "   4, BEAM, UNILOAD, GZ, NO, 0, -0.0035, 1, -0.0035, 0, 0, 0, 0,");
BENCHMARK_CAPTURE(ParseNodalLoad, line, "   295001, 0, 0, -25, 0, 0, 0, ");

// The field conversion every numeric field goes through, on the kinds of text models hold.
void RealConversion(benchmark::State& state)
{
    const std::vector<std::string> fields = {"0", "-2", "6000", "101.5", "3.14159265358979", "1.5e-3", "-0.0035",
                                             "2.05e+08", "12abc", ""};
    for (auto _ : state)
        for (const std::string& field : fields)
            benchmark::DoNotOptimize(ToReal(field));
    state.SetItemsProcessed(state.iterations() * std::int64_t(fields.size()));
}
BENCHMARK(RealConversion);

// A small model from disk to a filled host model and back to nothing.
void SmallFile(benchmark::State& state)
{
    const std::string path = MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt";
    for (auto _ : state) {
        ModalData_Orvo model;
        MIDAStranslatetoOrvo translator;
        const bool done = translator.ReadMidasFile(path.c_str()) && translator.TranMidastoOrvo(model);
        BENCH_REQUIRE(done && model.m_Lines.GetSize() == 6);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SmallFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
