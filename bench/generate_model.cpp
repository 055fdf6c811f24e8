// generate_model: writes a synthetic steel frame of NX x NY x NZ nodes as a MIDAS text file, and prints
// what a correct import of it yields, for the comparison script and for trying the tool by hand.
//
//     generate_model NX NY NZ OUT.mgt
#include <cstdio>
#include <cstdlib>

#include "ModelGenerator.h"

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: generate_model NX NY NZ OUT.mgt\n");
        return 2;
    }
    bench::ModelShape shape;
    shape.nx = std::atoi(argv[1]);
    shape.ny = std::atoi(argv[2]);
    shape.nz = std::atoi(argv[3]);
    if (shape.nx < 2 || shape.ny < 2 || shape.nz < 2) {
        std::fprintf(stderr, "generate_model: each of NX, NY, NZ must be at least 2\n");
        return 2;
    }
    const std::int64_t bytes = bench::WriteModelFile(shape, argv[4]);
    if (bytes < 0) {
        std::fprintf(stderr, "generate_model: cannot write %s\n", argv[4]);
        return 1;
    }
    const bench::ModelCounts counts = bench::CountsOf(shape);
    std::printf("%s: %lld bytes, %lld nodes, %lld members, %lld releases, %lld nodal loads, %lld member loads\n",
                argv[4], (long long)bytes, (long long)counts.nodes, (long long)counts.members,
                (long long)counts.releases, (long long)counts.nodalLoads, (long long)counts.memberLoads);
    return 0;
}
