// Throughput of EncryptBuffer at the sizes that matter: one block, a typical
// text file, and the largest accepted input.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/encrypt.h"

namespace {

void BM_EncryptBuffer(benchmark::State& state) {
    const auto length = static_cast<unsigned>(state.range(0));
    const auto* key = reinterpret_cast<const unsigned char*>("0123456789abcdef");
    std::vector<unsigned char> plain(length + velmora::BLOCK_BYTES, 'x');
    for (auto _ : state) {
        velmora::CipherBuffer cipher;
        unsigned cipherLength = 0;
        velmora::EncryptBuffer(key, plain.data(), length, cipher, cipherLength);
        benchmark::DoNotOptimize(cipher.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * length);
}
BENCHMARK(BM_EncryptBuffer)->Arg(16)->Arg(4096)->Arg(90111);

}  // namespace

BENCHMARK_MAIN();
